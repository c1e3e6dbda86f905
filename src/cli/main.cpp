// kelvane-cli: the stress calculation of Kelvane on a CSV of tensors.
// Reads and writes in bounded chunks, the rows of a chunk computed on several
// threads and written in input order; see Usage() for what it accepts.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tables/csv.h"
#include "cli/tensor_table.h"

namespace {

constexpr const char* kProgram = "kelvane-cli";
// Bytes read at a time; a chunk's lines are computed together.
constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

const char* Usage() {
  return R"(Usage: kelvane-cli tensors [--azimuth north|east] [--threads N] [FILE|-]
       kelvane-cli --help | --version

Computes, for each stress tensor of a CSV file (standard input when FILE is
missing or "-"), what Kelvane's window and its Mohr diagram show, and writes
one CSV row per tensor to standard output.

Input: comma-separated, the first line that is not a comment the header.
  sx,sy,sz,txy,tyz,tzx  the tensor (x East, y North, z up), in any order
  id                    optional; without it a row's id is its data row number
  beta,psi,phi,c        optional, all four: a joint's dip direction, dip and
                        friction angle (degrees) and cohesion
  pp                    optional: the pore pressure (0 without it); effective
                        stresses are total less pp
Other columns are ignored. Lines starting with "#" and blank lines are
skipped; CRLF line ends are accepted; fields may be quoted as in RFC 4180.
Numbers as the window reads them with "." as the decimal separator.

Output columns: id, s1, s2, s3, s1_azimuth, s1_dip, s2_azimuth, s2_dip,
s3_azimuth, s3_dip, l1, m1, n1, l2, m2, n2, l3, m3, n3, [sigma, tau, tau_lim,]
mean, max_shear, von_mises, octahedral_shear, stress_ratio, sv, shmax, shmin,
shmax_azimuth, regime (NF, NS, SS, TS, TF or U), [slip_tendency,
dilation_tendency, factor_of_safety, sigma_eff, tau_lim_eff, slip_tendency_max,
slip_tendency_normalized, cff, delta_pc,] error; the bracketed ones with a
joint, the slip tendency, the factor of safety and the last six on effective
stress.
Numbers are the shortest text that reads back to the computed double; a
quantity without a value is an empty field, infinity is "inf". A row that
cannot be computed keeps what was computed before the fault and names the
fault in its error column.

Options:
  --azimuth north   azimuths clockwise from North (the default)
  --azimuth east    azimuths counter-clockwise from East
  --threads N       compute on N threads (default: one per processor)
  --help            show this help and exit
  --version         show the version and exit

Exit status: 0 every row computed, 1 some row not computed, 2 a usage or
file error (unknown option, unreadable file, no header or a header without
one of the six stress columns, a column named twice).
)";
}

/// A usage or file error: its one-line message on standard error, status 2.
int Fail(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
  return 2;
}

struct Options {
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  unsigned threads = 0;
  std::string file = "-";
};

/// One line of a chunk, with its place in the file.
struct Line {
  std::string_view text;  ///< without its line end
  cli::RowPlace place;
};

/// The rows of `lines` computed into `out`; false when some row failed.
bool ComputeRows(const cli::TensorColumns& columns, const Line* begin, const Line* end,
                 stress::Azimuth azimuth, std::string& out) {
  tables::CsvSplitter splitter;
  bool allComputed = true;
  for (const Line* line = begin; line != end; ++line) {
    const bool split = splitter.Split(line->text);
    allComputed &=
        cli::AppendResultRow(columns, split, splitter.Fields(), line->place, azimuth, out);
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

int RunTensors(const Options& options) {
  const bool fromStdin = options.file == "-";
  const std::string name = fromStdin ? "<stdin>" : options.file;
  const int fd = fromStdin ? STDIN_FILENO : open(options.file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return Fail(name + ": " + std::strerror(errno));
  struct stat info {};
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!regular && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode))
    return Fail(name + ": " + std::strerror(EISDIR));
  Progress progress(regular && isatty(STDERR_FILENO), name, regular ? info.st_size : 0);

  const unsigned threads =
      std::max(1u, options.threads != 0 ? options.threads : std::thread::hardware_concurrency());
  std::vector<std::string> outputs(threads);
  std::vector<char> buffer(kChunkBytes);
  std::size_t filled = 0;  // bytes in buffer, a partial line first
  long long bytesRead = 0;
  unsigned long long lineNumber = 0;
  unsigned long long rowNumber = 0;
  std::optional<cli::TensorColumns> columns;
  bool allComputed = true;
  bool atEnd = false;
  std::vector<Line> lines;
  std::string error;

  while (!atEnd) {
    if (filled == buffer.size())
      buffer.resize(buffer.size() * 2);  // one line longer than the buffer
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
      if (IsBlank(text) || text.front() == '#')
        continue;
      if (!columns.has_value()) {
        tables::CsvSplitter splitter;
        if (!splitter.Split(text))
          return Fail(name + ":" + std::to_string(lineNumber) +
                      ": the header has a quoted field that is not closed");
        columns = cli::ReadHeader(splitter.Fields(), error);
        if (!columns.has_value())
          return Fail(name + ":" + std::to_string(lineNumber) + ": " + error);
        const std::string header = cli::OutputHeader(*columns);
        std::fwrite(header.data(), 1, header.size(), stdout);
        continue;
      }
      lines.push_back({text, {lineNumber, ++rowNumber}});
    }

    if (!lines.empty()) {
      // Contiguous shares, one per thread, written back in order.
      const std::size_t share = (lines.size() + threads - 1) / threads;
      std::vector<std::thread> workers;
      std::vector<char> computed(threads, 1);
      for (unsigned t = 0; t < threads; ++t) {
        outputs[t].clear();
        const std::size_t from = std::min(lines.size(), t * share);
        const std::size_t to = std::min(lines.size(), from + share);
        const auto work = [&, t, from, to] {
          computed[t] = ComputeRows(*columns, lines.data() + from, lines.data() + to,
                                    options.azimuth, outputs[t]);
        };
        if (t + 1 < threads && to > from)
          workers.emplace_back(work);
        else if (to > from)
          work();
      }
      for (std::thread& worker : workers)
        worker.join();
      for (unsigned t = 0; t < threads; ++t) {
        allComputed &= computed[t] != 0;
        std::fwrite(outputs[t].data(), 1, outputs[t].size(), stdout);
      }
    }
    progress.Update(bytesRead, rowNumber);

    // The partial line moves to the front.
    const std::size_t rest = start < filled ? filled - start : 0;
    std::memmove(buffer.data(), buffer.data() + (filled - rest), rest);
    filled = rest;
  }
  progress.Clear();
  if (!fromStdin)
    close(fd);
  if (!columns.has_value())
    return Fail(name + ": no header line");
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    return Fail(std::string("standard output: ") + std::strerror(errno));
  return allComputed ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty())
    return Fail("no command given; try 'kelvane-cli --help'");
  Options options;
  bool command = false;
  bool fileGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const auto value = [&](std::string_view option) -> std::optional<std::string_view> {
      if (arg.size() > option.size() && arg.substr(0, option.size()) == option &&
          arg[option.size()] == '=')
        return arg.substr(option.size() + 1);
      if (arg == option && i + 1 < args.size())
        return args[++i];
      return std::nullopt;
    };
    if (arg == "--help" || arg == "-h") {
      std::fputs(Usage(), stdout);
      return 0;
    }
    if (arg == "--version") {
      std::printf("%s %s\n", kProgram, KELVANE_VERSION);
      return 0;
    }
    if (arg.starts_with("--azimuth")) {
      const auto azimuth = value("--azimuth");
      if (azimuth == "north")
        options.azimuth = stress::Azimuth::kClockwiseFromNorth;
      else if (azimuth == "east")
        options.azimuth = stress::Azimuth::kCounterClockwiseFromEast;
      else
        return Fail("--azimuth takes north or east");
    } else if (arg.starts_with("--threads")) {
      const auto count = value("--threads");
      unsigned n = 0;
      if (!count.has_value() ||
          std::from_chars(count->data(), count->data() + count->size(), n).ptr !=
              count->data() + count->size() ||
          n == 0 || n > 256)
        return Fail("--threads takes a number from 1 to 256");
      options.threads = n;
    } else if (arg.size() > 1 && arg.front() == '-') {
      return Fail("unknown option " + std::string(arg) + "; try 'kelvane-cli --help'");
    } else if (!command) {
      if (arg != "tensors")
        return Fail("unknown command " + std::string(arg) + "; try 'kelvane-cli --help'");
      command = true;
    } else if (!fileGiven) {
      options.file = std::string(arg);
      fileGiven = true;
    } else {
      return Fail("more than one file given; try 'kelvane-cli --help'");
    }
  }
  if (!command)
    return Fail("no command given; try 'kelvane-cli --help'");
  return RunTensors(options);
}
