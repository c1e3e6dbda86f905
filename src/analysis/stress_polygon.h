#pragma once
// The stress polygon: the horizontal stresses that the crust's frictional
// strength allows at one depth, where cohesionless faults of the best
// orientation and friction coefficient mu would be on the point of slipping
// (frictional equilibrium). At that limit (s1 - Pp) / (s3 - Pp) = f with
// f = (sqrt(mu^2 + 1) + mu)^2, which bounds in each Anderson regime:
//   normal faulting (Sv = s1, Shmin = s3):   Shmin >= Pp + (Sv - Pp) / f
//   strike-slip (SHmax = s1, Shmin = s3):     SHmax - Pp <= f (Shmin - Pp)
//   reverse faulting (SHmax = s1, Sv = s3):   SHmax <= Pp + f (Sv - Pp)
// and SHmax >= Shmin by name. A point of the polygon is (Shmin, SHmax):
// Shmin across, SHmax up, as the figure draws it.
// Conventions: see analysis/stress_builders.h (compression positive, every
// stress in one unit). Terms are carried in long double and rounded once.
// Nothing here throws.

#include <optional>
#include <string>
#include <vector>

#include "analysis/stress_builders.h"
#include "stress/stress_state.h"

namespace analysis {

/// f = (sqrt(mu^2 + 1) + mu)^2 = tan^2(45 + phi / 2) with phi = atan(mu):
/// the ratio of the effective s1 to s3 at which the best-oriented
/// cohesionless plane slips. 1 for mu = 0.
double FrictionalRatio(double mu);

/// The bounds at one depth.
struct StressPolygon {
  double sv = 0.0;
  double porePressure = 0.0;
  double mu = 0.0;
  double ratio = 1.0;         ///< f
  double shMinLowest = 0.0;   ///< Pp + (Sv - Pp) / f, the normal-faulting limit
  double shMaxHighest = 0.0;  ///< Pp + f (Sv - Pp), the reverse-faulting limit
};

/// Either the polygon, or why there is none.
struct BuiltPolygon {
  std::optional<StressPolygon> polygon;
  std::string problem;  ///< empty when `polygon` is set
};

/// The polygon for Sv, Pp and mu. Refuses values that are no finite numbers
/// ("Sv, Pp and mu must be numbers"), a negative mu ("mu must not be
/// negative"), Sv <= Pp ("Sv must exceed Pp": no effective overburden, no
/// frictional strength), and limits beyond the double range.
BuiltPolygon BuildStressPolygon(double sv, double porePressure, double mu);

/// A point of the polygon's plane.
struct PolygonPoint {
  double shMin = 0.0;  ///< across
  double shMax = 0.0;  ///< up
};

/// The polygon's four corners counter-clockwise, with a = shMinLowest and
/// b = shMaxHighest: (a, a), (b, b), (Sv, b), (a, Sv). The edges are the
/// SHmax = Shmin diagonal, the reverse-faulting limit, the strike-slip limit
/// and the normal-faulting limit. For mu = 0 all four are (Sv, Sv).
std::vector<PolygonPoint> PolygonCorners(const StressPolygon& polygon);

/// The polygon divided at Shmin = Sv and SHmax = Sv into the fields of the
/// three regimes, each a triangle counter-clockwise:
/// normal (a, a), (Sv, Sv), (a, Sv); strike-slip (a, Sv), (Sv, Sv), (Sv, b);
/// reverse (Sv, Sv), (b, b), (Sv, b).
struct PolygonFields {
  std::vector<PolygonPoint> normal;
  std::vector<PolygonPoint> strikeSlip;
  std::vector<PolygonPoint> reverse;
};
PolygonFields FieldsOf(const StressPolygon& polygon);

/// A state's point: the principal values of the horizontal part
/// [[sx, txy], [txy, sy]] of `state` (analysis::ComputeHorizontalStresses),
/// always SHmax >= Shmin. The state's sz is not used: the polygon has its Sv.
PolygonPoint HorizontalPoint(const stress::StressState& state);

/// The field the point lies in, with its two values taken in order (the
/// larger as SHmax): normal when SHmax < Sv, reverse when Shmin > Sv, and
/// strike-slip on and between the dividing lines (Shmin <= Sv <= SHmax).
AndersonRegime FieldOf(const StressPolygon& polygon, const PolygonPoint& point);

/// Where a point stands against the bounds.
struct PolygonStanding {
  AndersonRegime field = AndersonRegime::kNormal;
  /// Within every bound: faults of the best orientation hold.
  bool inside = true;
  /// How far the point lies beyond its field's limit, in the stress unit,
  /// measured on the stress that limit bounds (the other two held):
  ///   normal field:       Pp + (Sv - Pp) / f - Shmin  (Shmin too low)
  ///   strike-slip field:  SHmax - Pp - f (Shmin - Pp)  (SHmax too high)
  ///   reverse field:      SHmax - Pp - f (Sv - Pp)     (SHmax too high)
  /// or Shmin - SHmax when the values are out of order and that is larger;
  /// 0 inside. In the strike-slip and reverse fields this is the largest
  /// violation of the three frictional inequalities; in the normal field the
  /// strike-slip inequality is weaker than the normal-faulting one (SHmax is
  /// below Sv there) and is not counted. Outside, the excess jumps by the
  /// factor f across SHmax = Sv, where the bounded stress changes from Shmin
  /// to SHmax.
  double excess = 0.0;
};

/// The standing of `point`. A violation within AgreementBound (analysis/
/// stress_measures.h) of f times the largest magnitude of Sv, Pp, Shmin and
/// SHmax counts as none: the horizontal values of a tensor carry a few units
/// in their last place, which a limit multiplies by up to f, so a state built
/// on a limit is on it, not outside.
PolygonStanding StandingOf(const StressPolygon& polygon, const PolygonPoint& point);

}  // namespace analysis
