#pragma once
// The Mohr diagram as a Qt Charts view: normal stress sigma to the right,
// shear stress tau (magnitude) upward, compression positive. Both axes have
// the same scale in pixels per stress unit at every size of the view, so the
// circles are drawn round; the view's shape decides how far each axis runs
// beyond what the diagram needs (the tau axis starts just below 0, so that the
// marks on the sigma axis are whole). Tick labels are written with
// FormatNumber and the given separators.
// Drawn from the stored results of a pass (engine/pass_results.h); the geometry
// comes from analysis/mohr_geometry.h.

#include <QChartView>
#include <QFont>
#include <QRgb>
#include <array>
#include <optional>
#include <vector>

#include "analysis/mohr_geometry.h"
#include "engine/mohr_diagram.h"
#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "figures/figure_style.h"
#include "geometry/axes_fit.h"
#include "text/number_text.h"
#include "ui/charts/image_layer.h"

class QAreaSeries;
class QGraphicsPixmapItem;
class QCategoryAxis;
class QGraphicsSimpleTextItem;
class QLineSeries;
class QScatterSeries;

namespace ui {

class MohrChartView : public QChartView {
  Q_OBJECT

 public:
  /// Points on each half-circle: one per degree.
  static constexpr int kCircleSegments = figures::kMohrCircleSegments;

  explicit MohrChartView(QWidget* parent = nullptr);
  ~MohrChartView() override;

  /// Draws the diagram of `results` (engine/mohr_diagram.h): the three
  /// half-circles, the admissible region and the marks of s1, s2 and s3 when
  /// the principal values are known (else an empty diagram), at effective
  /// stress with the total circles faint and dashed behind when the pore
  /// pressure is not 0; the joint's point and its limit line only when the
  /// joint's results were written.
  /// The axis titles name the stress unit `unit`, when given.
  void Show(const engine::PassResults& results, const text::Separators& separators,
            const QString& unit = {});

  /// A plane set's dots at their (effective sigma, tau), beneath the marks:
  /// `results` and their `colours`, entry for entry; nullptrs or empty lists
  /// for none. The lists are not copied: they must stay valid until the next
  /// call, which must follow any change of them.
  void SetDots(const std::vector<engine::PlaneResult>* results, const std::vector<QRgb>* colours);

  /// Pixels per stress unit, the same on both axes; 0 before the first layout.
  double Scale() const { return scale_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Fit();
  void SetAxis(QCategoryAxis* axis, double min, double max, double step);
  void DrawDots();
  /// Shows the marks' labels where figures::PlaceMohrLabels puts them in the
  /// plot area `plot` (chart coordinates) at `axes`; none without them.
  void PlaceMarkLabels(const std::optional<geometry::MohrAxes>& axes, const QRectF& plot);

  /// Above every series and the axes.
  static constexpr double kMarkLabelZ = 100.0;

  text::Separators separators_;
  std::optional<engine::MohrDiagram> diagram_;
  /// Each axis's full title and, for an axis too short for it, its symbol.
  std::array<QString, 2> sigmaTitles_;
  std::array<QString, 2> tauTitles_;
  double scale_ = 0.0;

  QCategoryAxis* axisSigma_ = nullptr;
  QCategoryAxis* axisTau_ = nullptr;
  QLineSeries* regionUpper_ = nullptr;
  QLineSeries* regionLower_ = nullptr;
  QAreaSeries* region_ = nullptr;
  std::array<QLineSeries*, 3> circles_{};
  std::array<QLineSeries*, 3> totalCircles_{};  ///< behind, at total stress
  QLineSeries* limit_ = nullptr;
  std::array<QScatterSeries*, 4> marks_{};  ///< s1, s2, s3, joint
  const std::vector<engine::PlaneResult>* dotResults_ = nullptr;
  const std::vector<QRgb>* dotColours_ = nullptr;
  /// The admissible region's fill would hide them (every plane's point lies
  /// in it): above the series, beneath the marks' labels.
  ImageLayer dots_{kMarkLabelZ - 1.0};
  QFont labelFont_;
  /// The marks' labels in the order PlaceMohrLabels gives them.
  std::array<QGraphicsSimpleTextItem*, 4> markLabels_{};
};

}  // namespace ui
