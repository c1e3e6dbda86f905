#pragma once
// Plane lists as text: CSV or blank-separated tables of dip directions (or
// strikes) and dips, with optional ids, friction and cohesion per plane.
// Angles in degrees clockwise from North; a strike is read by the right-hand
// rule (dip direction = strike + 90). Messages name a line of the file,
// counted from 1, header and blank lines included.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/plane_set.h"

namespace tables {

/// What a column holds.
enum class PlaneColumn { kIgnored, kId, kDirection, kDip, kPhi, kMu, kCohesion };

/// How the direction column is read.
enum class Notation { kDipDirection, kStrike };

/// How a file is read: what the preview detects and the user may correct.
struct PlaneReading {
  char delimiter = ',';              ///< ',', ';', '\t', or ' ' for runs of blanks
  bool header = true;                ///< the first line that is not blank or '#' names the columns
  std::vector<PlaneColumn> columns;  ///< by field index; fields beyond are ignored
  Notation notation = Notation::kDipDirection;
  char decimal = '.';  ///< '.' or ','
};

/// The column a header name stands for, compared without case, blanks,
/// '_', '-' and a trailing unit in parentheses: id, name; dip direction,
/// dipdir, dd, azimuth, dip azimuth; strike; dip; phi, friction angle; mu,
/// friction coefficient, friction; c, cohesion. Sets `strike` for "strike".
PlaneColumn ColumnOfName(std::string_view name, bool* strike = nullptr);

/// The delimiter a table's first line (not blank, no comment) suggests: tab
/// when it holds one, else ';', else ',', else ' ' for runs of blanks. The
/// import's preview and kelvane-cli both decide by it.
char DetectDelimiter(std::string_view firstLine);

/// A direction in degrees taken into [0, 360): modulo 360, never negative
/// zero (-720 is 0, not -0), and a residue that rounds to 360 is 0.
double DirectionModulo360(double degrees);

/// The reading the first lines of a file suggest: the delimiter found in the
/// first (DetectDelimiter), a header when the first line
/// holds a field that is no number, columns by the header's names (or, with
/// no header: [id,] direction, dip, phi, cohesion), the notation of a
/// "strike" column, and ',' as the decimal separator when numbers are written
/// with it (only with a delimiter other than ',').
PlaneReading DetectReading(std::string_view text);

/// The lines of `text` that the preview shows: the first `count` lines that
/// are not blank or comments, without their line ends, with line numbers.
struct TextLine {
  std::size_t number = 0;
  std::string_view text;
};
std::vector<TextLine> FirstLines(std::string_view text, std::size_t count);

/// One data row read: its plane, or why it is not one.
struct PlaneRow {
  std::optional<engine::Plane> plane;
  std::string id;
  /// Why the row is no plane ("dip 95 is outside 0 to 90"); empty when read.
  std::string problem;
  /// What was changed on reading ("dip direction 400 is taken as 40"); empty
  /// when nothing was.
  std::string note;
};

/// The row of `fields` under `reading`. An id holding a control character
/// (IdProblem), a missing or empty direction or dip, a field that is no
/// number, a dip outside 0 to 90, a friction angle outside 0 to 90, a
/// negative mu or a cohesion that is no finite number make it no plane.
/// Directions are taken modulo 360 (DirectionModulo360), and said so. An empty friction or
/// cohesion field leaves the plane without its own.
PlaneRow ReadPlaneRow(const std::vector<std::string_view>& fields, const PlaneReading& reading);

/// A whole file read.
struct PlaneImport {
  engine::PlaneSet set;
  /// "line 17: dip 95 is outside 0 to 90", "line 4: dip direction 400 is
  /// taken as 40", in line order.
  std::vector<std::string> messages;
  std::size_t skipped = 0;  ///< data rows that are no plane
  bool cancelled = false;   ///< `keepGoing` said stop: the set is partial
  std::string error;        ///< a file that cannot be read at all
};

/// Reads every data row of `text` (UTF-8; a byte-order mark, CRLF line ends,
/// blank lines and lines starting with '#' are allowed) under `reading`.
/// `keepGoing(bytesDone)` is asked every few thousand lines; when it returns
/// false reading stops with `cancelled` set.
PlaneImport ReadPlanes(std::string_view text, const PlaneReading& reading,
                       const std::function<bool(std::size_t)>& keepGoing = {});

/// Reads a number field as the importer does: blanks around it ignored, one
/// leading sign allowed ("+-5", as "--5", is no number), `decimal` as the
/// decimal separator; empty for any other text and for infinities and NaN.
std::optional<double> ReadPlainNumber(std::string_view field, char decimal);

}  // namespace tables
