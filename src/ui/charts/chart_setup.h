#pragma once
// What the window's two Qt Charts views share: how a view and its chart are
// set up, the series of cross marks, and a plot area fixed by hand.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QChart;
class QChartView;
class QScatterSeries;

namespace ui {

/// The view as both charts show: no frame, no scroll bars, no rubber band,
/// no dragging, antialiased; its chart without a legend, with square
/// corners, its background filling the view (no layout margins).
void SetUpChartView(QChartView& view);

/// Where an image layer of a chart goes: Qt Charts stacks the plot area's
/// background and grid at z 0 to 2 and its axes and series from 3 on; a layer
/// at this z lies between.
inline constexpr double kPlaneDotsZValue = 2.5;

/// A scatter series of cross marks (figures::kCrossSize) named `name`, each
/// point labelled in black in `labelFont`, its labels cut at the plot area
/// when `clipLabels`; added to `chart` and attached to all of its axes. It
/// draws nothing until SetCrossColour gives it its colour.
QScatterSeries* AddCrossSeries(QChart* chart, const QString& name, const QFont& labelFont,
                               bool clipLabels);

/// Draws the series' points as crosses in `colour`.
void SetCrossColour(QScatterSeries* series, const QColor& colour);

/// The plot area Qt's own layout gives `chart` (room left by the axes and
/// their labels), the plot area set free for it.
QRectF FreePlotArea(QChart* chart);

/// Fixes the plot area at `plot` and lays the chart out around it again: the
/// axes follow a plot area set by hand only when the layout runs again.
void FixPlotArea(QChart* chart, const QRectF& plot);

}  // namespace ui
