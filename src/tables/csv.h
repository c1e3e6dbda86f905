#pragma once
// Delimited lines: comma-separated as RFC 4180 writes them (any one-character
// delimiter), or fields separated by runs of blanks; one record per line.

#include <algorithm>
#include <cstddef>
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

/// `text` without the blanks (spaces and tabs) at its ends.
std::string_view TrimBlanks(std::string_view text);

/// A column's name as headers are compared: lower case, without blanks, '_',
/// '-' and '"', up to a unit in parentheses or brackets ("Dip (deg)" is "dip").
std::string HeaderKey(std::string_view name);

/// Calls `visit(number, line, offset)` for each line of `text` (without its
/// line end, "\r\n" or "\n"; a leading byte-order mark dropped), `number`
/// counted from 1 and `offset` where the next line starts, until it returns
/// false; returns the offset reached.
template <typename Visit>
std::size_t ForEachLine(std::string_view text, Visit visit) {
  std::size_t start = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  std::size_t number = 0;
  while (start < text.size()) {
    const std::size_t newline = text.find('\n', start);
    const std::size_t stop = newline == std::string_view::npos ? text.size() : newline;
    std::string_view line = text.substr(start, stop - start);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    start = stop + 1;
    if (!visit(++number, line, start))
      break;
  }
  return std::min(start, text.size());
}

/// Appends `field`, quoted (and its quotes doubled) only when it holds a
/// comma, a quote or a line break. Other control characters (U+0000 to
/// U+001F but tab, and U+007F) are never written raw: each is written as
/// U+FFFD, the replacement character. Readers refuse ids that hold one, so
/// only the echo of a damaged field in a message ever meets this.
void AppendCsvField(std::string& out, std::string_view field);

/// The first control character of `text` (U+0000 to U+001F or U+007F, tab
/// included), or -1 when it holds none.
int FirstControlCharacter(std::string_view text);

/// Why `id` cannot be a plane's or a row's id ("the id holds the control
/// character U+0000"), or empty when it can: a control character would make
/// the tables the program writes unreadable by other tools.
std::string IdProblem(std::string_view id);

/// Appends the shortest text that reads back to `value` (std::to_chars,
/// C locale): "inf" for +infinity, "-0" for negative zero.
void AppendNumber(std::string& out, double value);

}  // namespace tables
