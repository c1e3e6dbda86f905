#pragma once
// The equal-area net as a Qt Charts view with its six series.
// Net coordinates x East (right), y North (up), both axes fixed at -1.1..1.1.
// Series 1: primitive circle; 2: joint plane; 3: poles (sorted by ascending x,
// each a cross with its label above); 4, 5, 6: planes of s1, s2, s3.

#include <QChartView>
#include <array>
#include <memory>

#include "projection/point_series.h"

namespace ui {

class ChartSeries;

class NetChartView : public QChartView {
  Q_OBJECT

 public:
  explicit NetChartView(QWidget* parent = nullptr);
  ~NetChartView() override;

  /// Series n, 1 to 6, as the geometry writes to it.
  projection::PointSeries& Series(int n);
  /// The points series n holds (what the next Publish shows).
  const projection::PointList& Points(int n) const;

  /// Hands every changed series to Qt Charts, one replace per series.
  void Publish();

 private:
  std::array<std::unique_ptr<ChartSeries>, 6> series_;
};

}  // namespace ui
