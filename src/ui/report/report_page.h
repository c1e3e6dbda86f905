#pragma once
// The page of the report: A4 portrait, drawn as vectors (text, lines and
// paths; a plane set's dots are the one image). It shows the inputs, the principal stresses with
// their axes and direction cosines, the joint's stresses when the joint was
// active, the equal-area net and the Mohr diagram (figures/) and the derived
// quantities. Every number is the text the windows show for the same stored
// results (text/result_rows.h, text/shown_fields.h: FormatNumber, the same
// decimals, the given separators). Frame x East, y North, z up; compression
// positive; angles in degrees.

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <QPointF>
#include <QRgb>
#include <vector>

#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "engine/plane_set.h"
#include "figures/odds_curves.h"
#include "figures/plane_dots.h"
#include "figures/tendency_map.h"
#include "text/number_text.h"

class QPainter;

namespace ui {

/// Everything the page shows, taken when the pass has ended.
struct ReportContent {
  engine::PassResults results;
  text::Separators separators;
  /// The user's regional settings, for the date and time of writing.
  QLocale locale;
  QDateTime written;
  /// Program name and version, for the footer ("Kelvane 1.0").
  QString program;
  /// The stress unit's name; empty for none.
  QString unit;

  /// A plane set, when one is loaded: the planes, their results under
  /// `results` (empty when it has none), poles and dot colours, how the dots
  /// are coloured, and the Planes window's summary line.
  engine::PlaneSet planes;
  engine::PlaneDefaults planeDefaults;
  std::vector<engine::PlaneResult> planeResults;
  std::vector<figures::DotPoint> planePoles;
  std::vector<QRgb> planeColours;
  figures::DotQuantity colouring = figures::DotQuantity::kNormalizedSlipTendency;
  figures::DotRange colourRange;
  QString planeSummary;

  /// The tendency map on the net (quantity kNone for none).
  figures::MapRequest map;

  /// Slip probability curves when the odds were computed, and the line that
  /// says how ("From 10,000 realizations, seed 1").
  std::vector<figures::OddsCurve> oddsCurves;
  QString oddsNote;
};

/// Rows of the plane table of the report: the planes nearest to slipping, at
/// most `count`: the smallest pore-pressure increase to slip dPc first (past
/// the limit, negative, before), ties by the larger Ts/Ts,max; planes without
/// a dPc (no friction) after, by Ts/Ts,max; those without either last; each
/// tie in set order.
std::vector<std::size_t> PlanesNearestToSlipping(const std::vector<engine::PlaneResult>& results,
                                                 std::size_t count);

/// Draws the page on `painter`, whose device is an A4 portrait page of at
/// least 72 dots per inch (a QPdfWriter), and, with a plane set, a second page
/// of its planes (a QPagedPaintDevice turns the page). Touches no widget.
void PaintReport(QPainter& painter, const ReportContent& content);

}  // namespace ui
