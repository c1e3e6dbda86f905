#pragma once
// The data rows of a text file as the readers of tables take them: the lines
// of tables::ForEachLine (csv.h), without the blank and '#' comment lines
// they skip and, when there is one, the header line.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tables/csv.h"

namespace tables {

/// A blank line or a comment ('#' first after blanks).
inline bool IsSkipped(std::string_view line) {
  const std::string_view text = TrimBlanks(line);
  return text.empty() || text.front() == '#';
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
