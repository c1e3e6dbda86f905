#pragma once
// Fault-slip files: planes with their slip as field geologists and
// seismologists write them (analysis/fault_slip.h tells the notations and
// the conventions): strike, dip, rake; dip direction, dip, rake; dip
// direction (or strike), dip, trend, plunge, sense; and quadrant texts
// ("045", "61S", "80E") in the strike, dip and rake columns. Columns are
// recognized by their header names, in a first line or, when the file has
// none, in the last comment line before the data ("# strike dip rake").
// Angles in degrees. Messages name a line of the file, counted from 1,
// header, comment and blank lines included.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/fault_slip.h"

namespace tables {

/// What a column holds.
enum class SlipColumn {
  kIgnored,
  kId,
  kStrike,
  kDipDirection,
  kDip,
  kRake,
  kTrend,
  kPlunge,
  kSense,
};

/// The column a header name stands for, compared as HeaderKey compares
/// (tables/text_lines.h): id, name; strike; dip direction, dipdir, dd, dip
/// azimuth, azimuth; dip; rake, pitch, slip; trend, striae trend, lineation
/// trend; plunge, striae plunge, lineation plunge; sense, sense of slip,
/// movement.
SlipColumn SlipColumnOfName(std::string_view name);

/// How a file is read: what detection finds and the user may correct.
struct FaultSlipReading {
  char delimiter = ',';  ///< ',', ';', '\t', or ' ' for runs of blanks
  /// The first line that is not blank or a comment names the columns.
  bool header = true;
  std::vector<SlipColumn> columns;  ///< by field index; fields beyond are ignored
  char decimal = '.';               ///< '.' or ','
  /// The sense of rows whose notation needs one and whose sense column is
  /// missing or empty.
  std::optional<analysis::SlipSense> sense;
  /// Where the columns came from when not from a first-line header:
  /// "columns named by the comment on line 2", "no header: the columns are
  /// read as strike, dip, rake". Empty for a first-line header.
  std::string note;
};

/// The reading the first lines of `text` suggest: the delimiter of the first
/// line that is not blank or a comment (tab, then ';', then ',', else
/// blanks), ',' as the decimal separator when numbers are written with it
/// (only with another delimiter), and the columns: by that line when at
/// least two of its fields name columns; else by the last comment line
/// before it when two of its words do (a first data field that is no number
/// and has no name of its own is an id); else [id,] strike, dip, rake. In a
/// header an unnamed first column is the id, a column named twice is read
/// once (the first).
FaultSlipReading DetectFaultSlipReading(std::string_view text);

/// A whole file read.
struct FaultSlipImport {
  std::vector<analysis::FaultSlip> faults;
  std::vector<std::size_t> lines;  ///< the line of each fault
  /// "line 7: dip 95 is outside 0 to 90", "line 4: strike 400 is taken as
  /// 40", "line 9: the striae lie 4.2° off the plane", in line order.
  std::vector<std::string> messages;
  std::size_t skipped = 0;  ///< data rows that are no datum
  bool cancelled = false;   ///< `keepGoing` said stop: the faults are partial
  /// A file that cannot be read at all: columns of no notation.
  std::string error;
};

/// Reads every data row of `text` (UTF-8; a byte-order mark, CRLF line ends,
/// blank lines and '#' comments allowed) under `reading`. The columns decide
/// the notation: a rake with a strike or dip direction and a dip; otherwise
/// trend and plunge with a strike or dip direction and a dip (the sense
/// from its column or the reading's). A row whose strike, dip or rake field
/// is no plain number is read in quadrant notation (it needs a strike
/// column and a sense). Striae off their plane by more than
/// analysis::kStriaeTolerance make no datum; within it they are projected
/// and the residual angle is said. `keepGoing(bytesDone)` is asked every few
/// thousand lines; when it returns false reading stops with `cancelled`.
FaultSlipImport ReadFaultSlips(std::string_view text, const FaultSlipReading& reading,
                               const std::function<bool(std::size_t)>& keepGoing = {});

}  // namespace tables
