#pragma once
// What a Mohr diagram of a pass shows, for every view that draws one (the
// window's chart, the painted figure): the circles at effective stress under
// the pass's pore pressure, the total-stress circles behind them when it is
// not 0, the joint's point (sigma', tau) and its limit line, and the part of
// the plane to show. Conventions: analysis/mohr_geometry.h.

#include <optional>

#include "analysis/mohr_geometry.h"
#include "engine/pass_results.h"

namespace engine {

struct MohrDiagram {
  /// The values the circles are drawn at: s_i - Pp.
  stress::PrincipalValues values;
  /// The total values, drawn faint behind, when the pore pressure is not 0.
  std::optional<stress::PrincipalValues> totalValues;
  /// The joint's point (sigma', tau), once its stresses were computed.
  std::optional<analysis::MohrPoint> joint;
  /// The joint's strength, for its limit line c + sigma' tan(phi) (0 below
  /// sigma' = 0); no line when the friction angle is 90 degrees or more in
  /// magnitude, where it has no tangent worth drawing.
  std::optional<stress::JointPlane> limit;
  /// The extent: the circles (both sets), the joint's point and, with a limit
  /// line, its intercept (0, c), so that sigma' = 0 is always in view then.
  analysis::MohrExtent extent;
  bool effective = false;  ///< drawn at effective stress (Pp != 0)
};

/// The diagram of `results`; empty before the principal values are known or
/// when the effective values leave the double range.
std::optional<MohrDiagram> MohrDiagramOf(const PassResults& results);

}  // namespace engine
