#pragma once
// The equal-area net as a Qt Charts view with its six series.
// Net coordinates x East (right), y North (up), both axes fixed at -1.1..1.1
// on a square plot area, so the unit circle is drawn round.
// Series 1: primitive circle; 2: joint plane; 3: poles (sorted by ascending x,
// each a cross with its label above, never cut at the plot area); 4, 5, 6:
// planes of s1, s2, s3. Ticks and value labels stand every half unit.
// The geometry writes into in-memory lists; Publish hands Qt Charts those
// that differ from what it shows.

#include <QChartView>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QRgb>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "figures/net_frame.h"
#include "figures/plane_dots.h"
#include "figures/tendency_map.h"
#include "projection/point_series.h"
#include "ui/charts/chart_setup.h"
#include "ui/charts/image_layer.h"
#include "ui/common/latest_job.h"

class QLabel;

namespace ui {

class ChartSeries;

class NetChartView : public QChartView {
  Q_OBJECT

 public:
  static constexpr int kSeriesCount = 6;
  static constexpr int kPoleSeries = 3;
  /// Both axes run from -kNetRange to kNetRange.
  static constexpr double kNetRange = figures::kNetRange;
  /// Edge of the square view in pixels.
  static constexpr int kViewSize = 305;

  explicit NetChartView(QWidget* parent = nullptr);
  ~NetChartView() override;

  /// Series n, 1 to 6, as the geometry writes to it. Throws std::out_of_range
  /// for any other n.
  projection::PointSeries& Series(int n);
  /// The points series n holds (what the next Publish shows).
  const projection::PointList& Points(int n) const;

  /// Hands Qt Charts every series whose points differ from the ones it shows
  /// (to the bit, labels and colours included), one replace per Qt series;
  /// the others are left alone, so a pass that stores what is shown costs
  /// Qt Charts nothing.
  void Publish();

  /// The dots of a plane set beneath the series: `points` in net coordinates
  /// and their `colours`, entry for entry; nullptrs or empty lists for none
  /// (the net is then exactly as without a set). The lists are not copied:
  /// they must stay valid until the next call, and DrawDots must be called
  /// whenever they change.
  void SetDots(const std::vector<figures::DotPoint>* points, const std::vector<QRgb>* colours);
  /// Paints the dots again from the lists given to SetDots.
  void DrawDots();

  /// Makes the tendency map over `grid` (the plot area's device pixels,
  /// `ratio` of them per pixel) on a worker thread: it must hold copies of
  /// what it reads. An empty job for no map.
  using MapJob = std::function<figures::TendencyMap()>;
  using MapSource = std::function<MapJob(const engine::MapGrid& grid, double ratio)>;
  /// Where the map comes from; DrawMap shows it.
  void SetMapSource(MapSource source);
  /// Makes the map again off the GUI thread and shows it, once made, beneath
  /// the dots with its legend in the margin above the plot. Until then no
  /// map is shown, so the net never shows one of another state; with no map
  /// the net is exactly as without one.
  void DrawMap();
  /// Whether a map asked for is still being made.
  bool MapPending() const { return mapJob_.Busy(); }
  /// The map shown (empty for none).
  const figures::TendencyMap& Map() const { return map_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitSquarePlotArea();

  std::array<std::unique_ptr<ChartSeries>, kSeriesCount> series_;
  const std::vector<figures::DotPoint>* dotPoints_ = nullptr;
  const std::vector<QRgb>* dotColours_ = nullptr;
  ImageLayer dots_{kPlaneDotsZValue};  ///< beneath the series
  /// A map made off the GUI thread, with its pictures painted there too.
  struct MapPictures {
    figures::TendencyMap map;
    QImage picture;  ///< the plot area's
    QImage legend;
  };
  void ShowMapPictures(MapPictures made);

  MapSource mapSource_;
  figures::TendencyMap map_;
  LatestJob mapJob_;
  ImageLayer mapLayer_{kPlaneDotsZValue - 0.25};  ///< beneath the dots
  ImageLayer legend_{kPlaneDotsZValue - 0.25};
  QFont poleLabelFont_;  ///< the view's face at 8 points
};

}  // namespace ui
