#include "ui/net_chart.h"

namespace ui {

class ChartSeries {};

NetChartView::NetChartView(QWidget* parent) : QChartView(parent) {}
NetChartView::~NetChartView() = default;

}  // namespace ui
