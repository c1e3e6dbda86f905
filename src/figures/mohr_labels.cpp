#include "figures/mohr_labels.h"

#include <array>

#include "figures/figure_style.h"
#include "figures/mohr_axes.h"
#include "geometry/axes_fit.h"
#include "geometry/label_places.h"

namespace figures {
namespace {

using geometry::PlanePoint;
using geometry::PlaneRect;

PlaneRect ToPlane(const QRectF& r) {
  return {r.left(), r.top(), r.width(), r.height()};
}

std::vector<PlanePoint> Mapped(const MohrMap& map, const std::vector<analysis::MohrPoint>& line) {
  std::vector<PlanePoint> points;
  points.reserve(line.size());
  for (const analysis::MohrPoint& p : line) {
    const QPointF q = map(p.sigma, p.tau);
    points.push_back({q.x(), q.y()});
  }
  return points;
}

}  // namespace

std::vector<MohrLabel> PlaceMohrLabels(const engine::MohrDiagram& diagram,
                                       const geometry::MohrAxes& axes, const QRectF& plot,
                                       const QFontMetricsF& metrics, double pixel) {
  const MohrMap map(plot, axes);
  const stress::PrincipalValues& v = diagram.values;

  std::vector<MohrLabel> labels;
  std::vector<QPointF> at;
  const std::array<QString, 3> names = MarkLabels(v);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!names[i].isEmpty()) {
      labels.push_back({names[i], {}});
      at.push_back(map(v[static_cast<int>(i)], 0.0));
    }
  }
  if (diagram.joint.has_value()) {
    labels.push_back({JointMarkLabel(), {}});
    at.push_back(map(diagram.joint->sigma, diagram.joint->tau));
  }

  geometry::LabelScene scene;
  scene.area = ToPlane(plot.adjusted(pixel, pixel, -pixel, -pixel));
  scene.markArm = (kCrossArm + 0.5) * pixel;
  scene.gap = 2.0 * pixel;
  // Every cross as its two arms, one pixel wide, where it is drawn.
  std::vector<QPointF> crosses;
  for (int i = 0; i < 3; ++i)
    crosses.push_back(map(v[i], 0.0));
  if (diagram.joint.has_value())
    crosses.push_back(at.back());
  for (const QPointF& c : crosses) {
    scene.marks.push_back({c.x() - scene.markArm, c.y() - pixel / 2.0, 2.0 * scene.markArm, pixel});
    scene.marks.push_back({c.x() - pixel / 2.0, c.y() - scene.markArm, pixel, 2.0 * scene.markArm});
  }
  for (const analysis::MohrCircle& circle : analysis::MohrCircles(v)) {
    scene.lines.push_back(
        {Mapped(map, analysis::HalfCircle(circle, kMohrCircleSegments)), geometry::kNamedLine});
  }
  if (diagram.limit.has_value()) {
    const stress::JointPlane& j = *diagram.limit;
    const double band = axes.tauMax - axes.tauMin;
    scene.lines.push_back(
        {Mapped(map, analysis::ClampToTauBand(
                         analysis::LimitLine(j.c, j.phi, axes.sigmaMin, axes.sigmaMax),
                         axes.tauMin - band, axes.tauMax + band)),
         geometry::kNamedLine});
  }
  if (diagram.totalValues.has_value()) {
    for (const analysis::MohrCircle& circle : analysis::MohrCircles(*diagram.totalValues))
      scene.lines.push_back({Mapped(map, analysis::HalfCircle(circle, kMohrCircleSegments)), 1});
  }

  std::vector<geometry::LabelRequest> requests;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    requests.push_back({{at[i].x(), at[i].y()},
                        metrics.horizontalAdvance(labels[i].text),
                        metrics.ascent() + metrics.descent()});
  }
  const std::vector<PlaneRect> boxes = geometry::PlaceLabels(requests, scene);
  for (std::size_t i = 0; i < labels.size(); ++i)
    labels[i].box = QRectF(boxes[i].left, boxes[i].top, boxes[i].width, boxes[i].height);
  return labels;
}

}  // namespace figures
