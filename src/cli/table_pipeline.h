#pragma once
// The table commands' pipeline: a delimited file (or standard input) read in
// bounded chunks, the header handed to the command, each chunk's rows
// computed on several threads and written to standard output in input order.
// The header's line chooses the delimiter as the window's import does
// (tables::DetectDelimiter: tab, else ';', else ',', else runs of blanks); a
// leading byte-order mark is dropped.

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

/// Runs `job` over the table in `file` ("-": standard input) on `threads`
/// threads (0: one per processor). A named file must be a regular file
/// (files::OpenSourceDescriptor), and every line at most 1 MiB long. Returns
/// the exit status: 0 when every row was computed, 1 when some row was not,
/// 2 (with its message on standard error) for a file that cannot be read, a
/// line too long or a header the job refuses.
int RunTable(const std::string& file, unsigned threads, TableJob& job);

}  // namespace cli
