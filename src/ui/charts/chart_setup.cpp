#include "ui/charts/chart_setup.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QScatterSeries>

#include "ui/charts/chart_marks.h"

namespace ui {

void SetUpChartView(QChartView& view) {
  view.setFrameShape(QFrame::NoFrame);
  view.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view.setRubberBand(QChartView::NoRubberBand);
  view.setDragMode(QGraphicsView::NoDrag);
  view.setRenderHint(QPainter::Antialiasing, true);
  QChart* chart = view.chart();
  chart->legend()->hide();
  chart->setBackgroundRoundness(0);
  chart->layout()->setContentsMargins(0, 0, 0, 0);
}

QScatterSeries* AddCrossSeries(QChart* chart, const QString& name, const QFont& labelFont,
                               bool clipLabels) {
  auto* series = new QScatterSeries(chart);
  series->setObjectName(name);
  series->setMarkerSize(kCrossSize);
  series->setPointLabelsVisible(true);
  series->setPointLabelsColor(Qt::black);
  series->setPointLabelsFont(labelFont);
  series->setPointLabelsClipping(clipLabels);
  chart->addSeries(series);
  for (QAbstractAxis* axis : chart->axes())
    series->attachAxis(axis);
  return series;
}

void SetCrossColour(QScatterSeries* series, const QColor& colour) {
  series->setColor(colour);
  series->setLightMarker(CrossImage(colour));
}

QRectF FreePlotArea(QChart* chart) {
  chart->setPlotArea(QRectF());
  chart->layout()->activate();
  return chart->plotArea();
}

void FixPlotArea(QChart* chart, const QRectF& plot) {
  chart->setPlotArea(plot);
  chart->layout()->invalidate();
  chart->layout()->activate();
}

}  // namespace ui
