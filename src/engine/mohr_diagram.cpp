#include "engine/mohr_diagram.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "analysis/effective_stress.h"

namespace engine {
namespace {

analysis::MohrExtent Union(const analysis::MohrExtent& a, const analysis::MohrExtent& b) {
  return {std::min(a.sigmaMin, b.sigmaMin), std::max(a.sigmaMax, b.sigmaMax),
          std::max(a.tauMax, b.tauMax)};
}

}  // namespace

std::optional<MohrDiagram> MohrDiagramOf(const PassResults& results) {
  if (!results.values.has_value())
    return std::nullopt;
  const std::optional<stress::PrincipalValues> values =
      analysis::EffectiveValues(*results.values, results.porePressure);
  if (!values.has_value())
    return std::nullopt;
  MohrDiagram d;
  d.values = *values;
  d.effective = results.porePressure != 0.0;
  if (d.effective)
    d.totalValues = *results.values;
  std::optional<analysis::MohrPoint> intercept;
  if (results.jointStresses.has_value() && results.joint.has_value()) {
    const double sigma = results.jointStresses->sigma - results.porePressure;
    if (std::isfinite(sigma))
      d.joint = analysis::MohrPoint{sigma, results.jointStresses->tau};
    if (std::fabs(results.joint->phi) < 90.0) {
      d.limit = *results.joint;
      intercept = analysis::MohrPoint{0.0, std::max(results.joint->c, 0.0)};
    }
  }
  // Each part's extent with the same margin, then their union.
  d.extent = analysis::DiagramExtent(d.values, d.joint, analysis::kDiagramMargin);
  if (d.totalValues.has_value()) {
    d.extent = Union(
        d.extent, analysis::DiagramExtent(*d.totalValues, std::nullopt, analysis::kDiagramMargin));
  }
  if (intercept.has_value()) {
    d.extent =
        Union(d.extent, analysis::DiagramExtent(d.values, intercept, analysis::kDiagramMargin));
  }
  return d;
}

}  // namespace engine
