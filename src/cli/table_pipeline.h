#pragma once
// The table commands' pipeline: a delimited file (or standard input) read in
// bounded chunks, the header handed to the command, each chunk's rows
// computed on several threads and written to standard output in input order.
// The header's line chooses the delimiter as the window's import does
// (tables::DetectDelimiter: tab, else ';', else ',', else runs of blanks); a
// leading byte-order mark is dropped.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/tensor_table.h"

namespace cli {

/// What a command does with its table: read the header, then each row.
class TableJob {
 public:
  virtual ~TableJob() = default;
  /// Reads the header's fields and sets the output header; false, with the
  /// reason in `error`, for a header the command cannot use.
  virtual bool Header(const std::vector<std::string_view>& fields, std::string& error,
                      std::string& out) = 0;
  /// Appends the output line of one data row; false when it was not computed.
  /// Called on several threads at once.
  virtual bool Row(bool split, const std::vector<std::string_view>& fields, RowPlace place,
                   std::string& out) const = 0;
};

/// One data line of a table, without its line end, and where it stands.
struct TableLine {
  std::string_view text;
  RowPlace place;
};

/// What a command does that reads a whole table before it writes.
class TableReader {
 public:
  virtual ~TableReader() = default;
  /// Reads the header's fields; false, with the reason in `error`, for a
  /// header the command cannot use.
  virtual bool Header(const std::vector<std::string_view>& fields, std::string& error) = 0;
  /// Takes the data lines of one chunk, in file order; they view a buffer
  /// that is reused after the call.
  virtual void Lines(std::span<const TableLine> lines) = 0;

  /// The delimiter the header's line chose, set before Header is called:
  /// the lines are split with it.
  char Delimiter() const { return delimiter_; }
  void SetDelimiter(char delimiter) { delimiter_ = delimiter; }

 private:
  char delimiter_ = ',';
};

/// Reads the table in `file` ("-": standard input) in bounded chunks: blank
/// lines and lines starting with '#' skipped, CRLF line ends taken, a
/// progress line on a terminal for a regular file read for over a second.
/// Returns 0, or 2 (with its message on standard error) for a file that
/// cannot be read, no header, or a header the reader refuses.
int ReadTable(const std::string& file, TableReader& reader);

/// Runs `job` over the table in `file` ("-": standard input) on `threads`
/// threads (0: one per processor). A named file must be a regular file
/// (files::OpenSourceDescriptor), and every line at most 1 MiB long. Returns
/// the exit status: 0 when every row was computed, 1 when some row was not,
/// 2 (with its message on standard error) for a file that cannot be read, a
/// line too long or a header the job refuses.
int RunTable(const std::string& file, unsigned threads, TableJob& job);

}  // namespace cli
