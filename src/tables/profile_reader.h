#pragma once
// Stress profile tables as text: one row per true vertical depth with Sv,
// SHmax, Shmin, Pp and the azimuth of SHmax, in the columns a header names,
// as 1-D mechanical earth models are exchanged. Values are read as written,
// in one unit system that the file does not say (analysis/stress_profile.h).
// Messages name a line of the file, counted from 1, comment and blank lines
// included.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/stress_profile.h"

namespace tables {

/// What a column of a profile table holds.
enum class ProfileColumn { kIgnored, kDepth, kSv, kShMax, kShMin, kPorePressure, kAzimuth };

/// The column a header name stands for, compared as HeaderKey (tables/csv.h)
/// gives it: depth, tvd, true vertical depth; sv, svertical, vertical stress,
/// overburden; shmax; shmin; pp, pore pressure; shmax azimuth, shmax az,
/// shmax direction, azimuth.
ProfileColumn ProfileColumnOfName(std::string_view name);

/// A profile file read.
struct ProfileImport {
  std::vector<analysis::ProfileRow> rows;
  /// "line 7: sv 'x' is not a number", one per skipped row, in line order.
  std::vector<std::string> messages;
  std::size_t skipped = 0;  ///< data rows that are no row of the profile
  /// Why the file as a whole is refused (then `rows` is empty): no header,
  /// a column missing or named twice, depths that do not increase, no row.
  std::string error;
};

/// Reads `text` (UTF-8; a byte-order mark, CRLF line ends, blank lines and
/// lines starting with '#' are allowed). The header is the first line that
/// is neither blank nor a comment; when that line holds numbers only, the
/// last comment line before it, its '#' dropped, is the header (a header
/// written as a comment). The header's line decides the delimiter (a tab,
/// else ';', else ',', else runs of blanks), and numbers are read with a
/// decimal comma when the delimiter is not ',' and a data field reads only
/// with it. The header must name each of depth, sv, shmax, shmin, pp and
/// shmax_azimuth once; other columns are ignored. A row with one of them
/// missing or no number, or SHmax below Shmin, is skipped and listed. Depths
/// must strictly increase down the rows read: a depth that does not refuses
/// the file, naming its line.
ProfileImport ReadProfile(std::string_view text);

}  // namespace tables
