#pragma once
// Delimited lines: comma-separated as RFC 4180 writes them (any one-character
// delimiter), or fields separated by runs of blanks; one record per line.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace tables {

/// The fields of one line. They view the line, or, for a quoted field with
/// doubled quotes, text the splitter holds until its next Split.
class CsvSplitter {
 public:
  /// Fields separated by `delimiter`; ' ' stands for runs of spaces and tabs,
  /// with blanks at the line's ends ignored.
  explicit CsvSplitter(char delimiter = ',') : delimiter_(delimiter) {}

  /// Splits `line` (without its line end) at its delimiters. A field that
  /// starts with '"' is quoted: it ends at the next lone '"', and '""' inside
  /// stands for one '"'. Returns false, with the fields unspecified, for a
  /// quoted field left open or followed by anything but a delimiter.
  bool Split(std::string_view line);
  const std::vector<std::string_view>& Fields() const { return fields_; }

 private:
  bool SplitAtBlanks(std::string_view line);

  char delimiter_;
  std::vector<std::string_view> fields_;
  std::deque<std::string> unescaped_;
};

/// Appends `field`, quoted (and its quotes doubled) only when it holds a
/// comma, a quote or a line break.
void AppendCsvField(std::string& out, std::string_view field);

/// Appends the shortest text that reads back to `value` (std::to_chars,
/// C locale): "inf" for +infinity, "-0" for negative zero.
void AppendNumber(std::string& out, double value);

}  // namespace tables
