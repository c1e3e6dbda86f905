#pragma once
// The lines of a text file as the readers of tables take them: a leading
// byte-order mark dropped, LF or CRLF line ends, lines numbered from 1, and
// the blank and '#' comment lines that they skip.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/csv.h"

namespace tables {

inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

/// `text` without blanks (spaces and tabs) at either end.
inline std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

/// A blank line or a comment ('#' first after blanks).
inline bool IsSkipped(std::string_view line) {
  const std::string_view text = Trimmed(line);
  return text.empty() || text.front() == '#';
}

/// Calls `visit(number, line, next)` for each line of `text` (without its
/// line end, a leading byte-order mark dropped; `next` the offset after its
/// line end) until it returns false; returns the offset reached.
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

/// A column name as the readers compare it: lower case, without blanks,
/// '_', '-', quotes, and a trailing unit in parentheses or brackets
/// ("Dip (deg)" is "dip").
inline std::string HeaderKey(std::string_view name) {
  std::string key;
  for (const char c : name) {
    if (c == '(' || c == '[')
      break;
    if (c == ' ' || c == '_' || c == '-' || c == '\t' || c == '"')
      continue;
    key += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return key;
}

/// How many lines a reader reads between two asks whether to go on.
inline constexpr std::size_t kLinesBetweenAsks = 4096;

/// Calls `row(number, fields)` for each data row of `text` split at
/// `delimiter`: every line that is not blank or a comment, after the first
/// such line when `header`. A line whose quoted field is not closed goes to
/// `unreadable(number)` instead. `keepGoing(offset)` is asked every
/// kLinesBetweenAsks lines; returns false when it stopped the walk.
template <typename Row, typename Unreadable>
bool ForEachDataRow(std::string_view text, char delimiter, bool header,
                    const std::function<bool(std::size_t)>& keepGoing, Row row,
                    Unreadable unreadable) {
  CsvSplitter splitter(delimiter);
  bool headerSeen = !header;
  bool stopped = false;
  std::size_t sinceAsked = 0;
  ForEachLine(text, [&](std::size_t number, std::string_view line, std::size_t offset) {
    if (keepGoing && ++sinceAsked == kLinesBetweenAsks) {
      sinceAsked = 0;
      if (!keepGoing(offset)) {
        stopped = true;
        return false;
      }
    }
    if (IsSkipped(line))
      return true;
    if (!headerSeen) {
      headerSeen = true;
      return true;
    }
    if (splitter.Split(line))
      row(number, splitter.Fields());
    else
      unreadable(number);
    return true;
  });
  return !stopped;
}

}  // namespace tables
