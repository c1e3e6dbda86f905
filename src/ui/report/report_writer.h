#pragma once
// The one-page PDF report of a pass: A4 portrait, drawn as vectors only (text,
// lines and paths; no raster image). It shows the inputs, the principal
// stresses with their axes and direction cosines, the joint's stresses when
// the joint was active, the equal-area net and the Mohr diagram with its
// derived quantities. Every number is the text the windows show for the same
// stored results (text/result_rows.h: FormatNumber, the same decimals, the
// given separators). Frame x East, y North, z up; compression positive;
// angles in degrees.

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>

#include "engine/pass_results.h"
#include "projection/point_series.h"
#include "text/number_text.h"
#include "ui/charts/net_chart.h"

class QPainter;

namespace ui {

/// Everything the page shows, taken when the pass has ended.
struct ReportContent {
  engine::PassResults results;
  /// The net's series 1 to 6 as the pass drew them (entry n - 1 for series n).
  std::array<projection::PointList, NetChartView::kSeriesCount> net;
  text::Separators separators;
  /// The user's regional settings, for the date and time of writing.
  QLocale locale;
  QDateTime written;
  /// Program name and version, for the footer ("Kelvane 1.0").
  QString program;
};

/// The net's series as `chart` holds them now.
std::array<projection::PointList, NetChartView::kSeriesCount> NetSeriesOf(
    const NetChartView& chart);

/// Draws the page on `painter`, whose device is an A4 portrait page of at
/// least 72 dots per inch (a QPdfWriter). The charts are built and laid out
/// off the screen for the occasion; no window is shown.
void PaintReport(QPainter& painter, const ReportContent& content);

/// The report as the bytes of a one-page PDF; empty when no PDF could be drawn.
QByteArray ReportPdf(const ReportContent& content);

/// Writes the report to `path` as a one-page PDF. Atomic: the file is written
/// beside its destination and takes its place only when complete, so on any
/// failure an existing file keeps its bytes and no partial file remains.
/// Throws std::runtime_error("Could not save the report to <path>: <reason>")
/// (UTF-8, the path in the platform's notation) when it cannot be written.
void SaveReport(const QString& path, const ReportContent& content);

}  // namespace ui
