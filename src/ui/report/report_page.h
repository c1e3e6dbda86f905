#pragma once
// The page of the report: A4 portrait, drawn as vectors only (text, lines and
// paths; no raster image). It shows the inputs, the principal stresses with
// their axes and direction cosines, the joint's stresses when the joint was
// active, the equal-area net and the Mohr diagram (figures/) and the derived
// quantities. Every number is the text the windows show for the same stored
// results (text/result_rows.h, text/shown_fields.h: FormatNumber, the same
// decimals, the given separators). Frame x East, y North, z up; compression
// positive; angles in degrees.

#include <QDateTime>
#include <QLocale>
#include <QString>

#include "engine/pass_results.h"
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
};

/// Draws the page on `painter`, whose device is an A4 portrait page of at
/// least 72 dots per inch (a QPdfWriter). Touches no widget.
void PaintReport(QPainter& painter, const ReportContent& content);

}  // namespace ui
