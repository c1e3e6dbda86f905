#pragma once
// Stress tensors built the way geoscientists state them: from a depth with
// gradients of the vertical and horizontal stresses, or from three principal
// stresses with the orientation of their axes.
// Conventions: see stress/stress_state.h (x East, y North, z up; compression
// positive). Azimuths and dips in degrees; an axis is taken pointing downward,
// its dip below the horizontal. Results are doubles rounded once from long
// double terms.

#include <optional>
#include <string>

#include "numeric/extended.h"
#include "stress/stress_state.h"

namespace analysis {

/// Units of a depth profile: MPa with depths in metres and gradients in
/// MPa/km, or psi with depths in feet and gradients in psi/ft.
enum class UnitSystem { kMegapascalMetre, kPsiFoot };

/// Standard gravity, m/s^2.
inline constexpr double kStandardGravity = 9.80665;

struct DepthProfile {
  UnitSystem units = UnitSystem::kMegapascalMetre;
  double depth = 0.0;
  /// Sv from its gradient, or, when `density` is set, from the mean
  /// overburden density in g/cm^3 (Sv = rho g z).
  double verticalGradient = 0.0;
  std::optional<double> density;
  double shMaxGradient = 0.0;
  double shMinGradient = 0.0;
  double porePressureGradient = 0.0;
  double shMaxAzimuth = 0.0;  ///< degrees clockwise from North
};

enum class AndersonRegime { kNormal, kStrikeSlip, kReverse };

struct DepthStresses {
  double sv = 0.0;
  double shMax = 0.0;
  double shMin = 0.0;
  double porePressure = 0.0;
  /// Sv largest: normal; Sv between: strike-slip; Sv smallest: reverse. Empty
  /// when two of the three are equal or SHmax < Shmin.
  std::optional<AndersonRegime> regime;
};

/// Sv, SHmax, Shmin and Pp at the profile's depth, in the profile's stress unit.
DepthStresses StressesAtDepth(const DepthProfile& profile);

/// How much Sv, SHmax, Shmin and Pp grow over `interval` of depth (in the
/// profile's depth unit) at the profile's gradients, Sv from the density when
/// it is set; the profile's own depth is not used. Unrounded: StressesAtDepth
/// rounds these for interval = depth.
struct StressIncrease {
  numeric::Extended sv = 0;
  numeric::Extended shMax = 0;
  numeric::Extended shMin = 0;
  numeric::Extended porePressure = 0;
};
StressIncrease IncreaseOver(const DepthProfile& profile, numeric::Extended interval);

/// The Anderson regime of Sv among the horizontal stresses, as
/// DepthStresses::regime gives it.
std::optional<AndersonRegime> AndersonRegimeOf(double sv, double shMax, double shMin);

/// The tensor whose principal axes are vertical (Sv) and horizontal, SHmax
/// at `shMaxAzimuth` clockwise from North: sx = SHmax sin^2 a + Shmin cos^2 a,
/// sy = SHmax cos^2 a + Shmin sin^2 a, txy = (SHmax - Shmin) sin a cos a,
/// sz = Sv, tyz = tzx = 0. Sines and cosines of multiples of 90 degrees are
/// exact, so an axis-aligned SHmax leaves no shear residue.
stress::StressState HorizontalTensor(double sv, double shMax, double shMin, double shMaxAzimuth);

/// A principal stress state as typed: values and the orientation of the s1
/// and s3 axes (azimuth in `convention`, dip below the horizontal).
struct PrincipalInput {
  double s1 = 0.0, s2 = 0.0, s3 = 0.0;
  double s1Azimuth = 0.0, s1Dip = 0.0;
  double s3Azimuth = 0.0, s3Dip = 0.0;
  stress::Azimuth convention = stress::Azimuth::kClockwiseFromNorth;
};

/// Largest departure from a right angle between the s1 and s3 axes that
/// BuildFromPrincipal accepts, degrees.
inline constexpr double kPerpendicularTolerance = 2.0;

/// The downward unit vector of an axis at `azimuth` (in `convention`) and
/// `dip`, exact at multiples of 90 degrees.
stress::Vector3 AxisVector(double azimuth, double dip, stress::Azimuth convention);

/// The angle between two axes (as lines), degrees in [0, 90].
double AngleBetweenAxes(const stress::Vector3& a, const stress::Vector3& b);

/// Either the tensor sum s_i u_i u_i^T, or why there is none.
struct BuiltState {
  std::optional<stress::StressState> state;
  std::string problem;  ///< empty when `state` is set
};

/// The tensor with values s1 >= s2 >= s3 along the given axes: the s3 axis
/// is made exactly perpendicular to s1 in their common plane, and s2
/// completes the right-handed frame (u2 = u3 x u1). Refuses unsorted values
/// ("s1 >= s2 >= s3 is required") and axes further than
/// kPerpendicularTolerance from a right angle ("The s1 and s3 axes are 87.50°
/// apart; they must be perpendicular within 2°"). No component exceeds the
/// largest |s_i|, so the tensor always fits the double range.
BuiltState BuildFromPrincipal(const PrincipalInput& input);

}  // namespace analysis
