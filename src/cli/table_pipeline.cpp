#include "cli/table_pipeline.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "cli/options.h"
#include "engine/shares.h"
#include "files/source_file.h"
#include "tables/csv.h"
#include "tables/plane_reader.h"

namespace cli {
namespace {

// Bytes read at a time; a chunk's lines are computed together. A line must
// fit in one chunk: no table has lines of a mebibyte, and a stream without
// line ends (standard input from /dev/zero) must not grow without bound.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

/// Closes a file descriptor when it goes out of scope (-1: none).
struct FileCloser {
  explicit FileCloser(int descriptor) : fd(descriptor) {}
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;
  ~FileCloser() {
    if (fd >= 0)
      close(fd);
  }
  int fd;
};

/// The rows of `lines` computed into `out`; false when some row failed.
bool ComputeRows(const TableJob& job, char delimiter, const TableLine* begin, const TableLine* end,
                 std::string& out) {
  tables::CsvSplitter splitter(delimiter);
  bool allComputed = true;
  for (const TableLine* line = begin; line != end; ++line) {
    const bool split = splitter.Split(line->text);
    allComputed &= job.Row(split, splitter.Fields(), line->place, out);
  }
  return allComputed;
}

/// The progress line on a terminal, for a regular file read for over a second.
class Progress {
 public:
  Progress(bool shown, std::string name, long long size)
      : shown_(shown), name_(std::move(name)), size_(size), start_(Clock::now()) {}
  void Update(long long bytes, unsigned long long rows) {
    if (!shown_)
      return;
    const auto now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(200))
      return;
    last_ = now;
    const int percent = size_ > 0 ? static_cast<int>(100.0 * bytes / size_) : 100;
    std::fprintf(stderr, "\r%s: %s: %d%% (%llu rows)", kProgram, name_.c_str(),
                 std::min(percent, 100), rows);
    std::fflush(stderr);
    written_ = true;
  }
  void Clear() {
    if (written_)
      std::fprintf(stderr, "\r\033[K");
    written_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  bool shown_;
  std::string name_;
  long long size_;
  Clock::time_point start_;
  Clock::time_point last_{};
  bool written_ = false;
};

bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace

int ReadTable(const std::string& file, TableReader& reader) {
  const bool fromStdin = file == "-";
  const std::string name = fromStdin ? "<stdin>" : file;
  // A named file must be a regular one, looked at before it is opened: a
  // FIFO or a device is refused (standard input may be anything).
  QString problem;
  const int fd = fromStdin ? STDIN_FILENO
                           : files::OpenSourceDescriptor(QString::fromStdString(file),
                                                         files::kStreamedTable, problem);
  if (fd < 0)
    return Fail(name + ": " + problem.toStdString());
  // Closed on every way out.
  const FileCloser closer(fromStdin ? -1 : fd);
  struct stat info {};
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!regular && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
    return Fail(name + ": " + std::strerror(EISDIR));
  Progress progress(regular && isatty(STDERR_FILENO), name, regular ? info.st_size : 0);

  std::vector<char> buffer(kChunkBytes);
  std::size_t filled = 0;  // bytes in buffer, a partial line first
  long long bytesRead = 0;
  unsigned long long lineNumber = 0;
  unsigned long long rowNumber = 0;
  bool headerRead = false;
  bool atEnd = false;
  std::vector<TableLine> lines;
  std::string error;

  while (!atEnd) {
    if (filled == buffer.size())
      return Fail(name + ":" + std::to_string(lineNumber + 1) + ": the line is longer than " +
                  files::SizeText(kChunkBytes).toStdString());
    const ssize_t got = read(fd, buffer.data() + filled, buffer.size() - filled);
    if (got < 0) {
      if (errno == EINTR)
        continue;
      return Fail(name + ": " + std::strerror(errno));
    }
    atEnd = got == 0;
    filled += static_cast<std::size_t>(got);
    bytesRead += got;

    // The complete lines of the buffer; at the end, the last one too.
    lines.clear();
    std::size_t start = 0;
    while (start < filled) {
      const char* const newline =
          static_cast<const char*>(std::memchr(buffer.data() + start, '\n', filled - start));
      if (newline == nullptr && !atEnd)
        break;
      const std::size_t stop = newline != nullptr ? newline - buffer.data() : filled;
      std::string_view text(buffer.data() + start, stop - start);
      start = stop + 1;
      ++lineNumber;
      if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
      if (lineNumber == 1 && text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);  // a byte-order mark, as spreadsheets write one
      if (IsBlank(text) || text.front() == '#')
        continue;
      if (!headerRead) {
        // The header's line decides the delimiter, as the window's import does.
        reader.SetDelimiter(tables::DetectDelimiter(text));
        tables::CsvSplitter splitter(reader.Delimiter());
        if (!splitter.Split(text))
          return Fail(name + ":" + std::to_string(lineNumber) +
                      ": the header has a quoted field that is not closed");
        if (!reader.Header(splitter.Fields(), error))
          return Fail(name + ":" + std::to_string(lineNumber) + ": " + error);
        headerRead = true;
        continue;
      }
      lines.push_back({text, {lineNumber, ++rowNumber}});
    }
    if (!lines.empty())
      reader.Lines(lines);
    progress.Update(bytesRead, rowNumber);

    // The partial line moves to the front.
    const std::size_t rest = start < filled ? filled - start : 0;
    std::memmove(buffer.data(), buffer.data() + (filled - rest), rest);
    filled = rest;
  }
  progress.Clear();
  if (!headerRead)
    return Fail(name + ": no header line");
  return 0;
}

namespace {

/// A row job as a reader: the output header written once read, each chunk's
/// rows computed on threads and written in input order.
class RowWriter : public TableReader {
 public:
  RowWriter(TableJob& job, unsigned threads)
      : job_(job),
        threads_(threads != 0 ? threads : engine::DefaultThreads()),
        outputs_(threads_) {}
  bool Header(const std::vector<std::string_view>& fields, std::string& error) override {
    std::string header;
    if (!job_.Header(fields, error, header))
      return false;
    std::fwrite(header.data(), 1, header.size(), stdout);
    return true;
  }
  void Lines(std::span<const TableLine> lines) override {
    // Contiguous shares, one per thread, written back in order.
    const std::size_t share = (lines.size() + threads_ - 1) / threads_;
    std::vector<char> computed(threads_, 1);
    engine::ForEachShare(lines.size(), share, threads_, [&](std::size_t from, std::size_t to) {
      const std::size_t t = from / share;
      outputs_[t].clear();
      computed[t] =
          ComputeRows(job_, Delimiter(), lines.data() + from, lines.data() + to, outputs_[t]);
    });
    for (std::size_t t = 0; t * share < lines.size(); ++t) {
      allComputed_ &= computed[t] != 0;
      std::fwrite(outputs_[t].data(), 1, outputs_[t].size(), stdout);
    }
  }
  bool AllComputed() const { return allComputed_; }

 private:
  TableJob& job_;
  unsigned threads_;
  std::vector<std::string> outputs_;
  bool allComputed_ = true;
};

}  // namespace

int RunTable(const std::string& file, unsigned threads, TableJob& job) {
  RowWriter writer(job, threads);
  if (const int status = ReadTable(file, writer); status != 0)
    return status;
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail(std::string("standard output: ") + std::strerror(errno));
  return writer.AllComputed() ? 0 : 1;
}

}  // namespace cli
