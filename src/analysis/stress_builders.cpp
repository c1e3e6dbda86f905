#include "analysis/stress_builders.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "numeric/extended_math.h"

namespace analysis {

using numeric::Extended;

namespace {

/// Sine and cosine of an angle in degrees, exact at multiples of 90 degrees
/// (where the rounded pi would leave a residue such as cos 90 = 6e-17).
numeric::SineCosine SinCosDegrees(double degrees) {
  const Extended turns = std::fmod(static_cast<Extended>(degrees), 360.0L);
  const Extended reduced = turns < 0 ? turns + 360.0L : turns;
  if (reduced == 0.0L)
    return {0.0L, 1.0L};
  if (reduced == 90.0L)
    return {1.0L, 0.0L};
  if (reduced == 180.0L)
    return {0.0L, -1.0L};
  if (reduced == 270.0L)
    return {-1.0L, 0.0L};
  return numeric::SinCos(numeric::DegreesToRadians(reduced));
}

/// Depths and gradients to a stress: MPa/km times metres, or psi/ft times feet.
Extended AtDepth(UnitSystem units, double gradient, Extended depth) {
  const Extended s = gradient * depth;
  return units == UnitSystem::kMegapascalMetre ? s / 1000.0L : s;
}

using Column = std::array<Extended, 3>;

Column Cross(const Column& a, const Column& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Extended Dot(const Column& a, const Column& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Column Normalised(const Column& a) {
  const Extended n = std::sqrt(Dot(a, a));
  return {a[0] / n, a[1] / n, a[2] / n};
}

}  // namespace

StressIncrease IncreaseOver(const DepthProfile& p, Extended interval) {
  StressIncrease s;
  if (p.density.has_value()) {
    // rho [g/cm^3] * 1000 [kg/m^3] * g * z [m] in Pa; MPa, or psi with z in feet.
    constexpr Extended kFoot = 0.3048L;
    constexpr Extended kPsi = 6894.757293168361L;  // Pa
    const Extended pascals = static_cast<Extended>(*p.density) * 1000.0L * kStandardGravity *
                             (p.units == UnitSystem::kPsiFoot ? interval * kFoot : interval);
    s.sv = p.units == UnitSystem::kPsiFoot ? pascals / kPsi : pascals / 1e6L;
  } else {
    s.sv = AtDepth(p.units, p.verticalGradient, interval);
  }
  s.shMax = AtDepth(p.units, p.shMaxGradient, interval);
  s.shMin = AtDepth(p.units, p.shMinGradient, interval);
  s.porePressure = AtDepth(p.units, p.porePressureGradient, interval);
  return s;
}

std::optional<AndersonRegime> AndersonRegimeOf(double sv, double shMax, double shMin) {
  if (!(shMax > shMin && sv != shMax && sv != shMin))
    return std::nullopt;
  if (sv > shMax)
    return AndersonRegime::kNormal;
  if (sv > shMin)
    return AndersonRegime::kStrikeSlip;
  return AndersonRegime::kReverse;
}

DepthStresses StressesAtDepth(const DepthProfile& p) {
  const StressIncrease increase = IncreaseOver(p, p.depth);
  DepthStresses s;
  s.sv = static_cast<double>(increase.sv);
  s.shMax = static_cast<double>(increase.shMax);
  s.shMin = static_cast<double>(increase.shMin);
  s.porePressure = static_cast<double>(increase.porePressure);
  s.regime = AndersonRegimeOf(s.sv, s.shMax, s.shMin);
  return s;
}

stress::StressState HorizontalTensor(double sv, double shMax, double shMin, double shMaxAzimuth) {
  const numeric::SineCosine a = SinCosDegrees(shMaxAzimuth);
  const Extended hMax = shMax;
  const Extended hMin = shMin;
  stress::StressState s;
  s.sx = static_cast<double>(hMax * a.sin * a.sin + hMin * a.cos * a.cos);
  s.sy = static_cast<double>(hMax * a.cos * a.cos + hMin * a.sin * a.sin);
  s.txy = static_cast<double>((hMax - hMin) * a.sin * a.cos);
  s.sz = sv;
  return s;
}

stress::Vector3 AxisVector(double azimuth, double dip, stress::Azimuth convention) {
  const numeric::SineCosine a = SinCosDegrees(azimuth);
  const numeric::SineCosine d = SinCosDegrees(dip);
  // Clockwise from North: East component sin a, North cos a; from East the reverse.
  const bool north = convention == stress::Azimuth::kClockwiseFromNorth;
  const Extended east = north ? a.sin : a.cos;
  const Extended northward = north ? a.cos : a.sin;
  return {static_cast<double>(d.cos * east), static_cast<double>(d.cos * northward),
          static_cast<double>(-d.sin)};
}

double AngleBetweenAxes(const stress::Vector3& a, const stress::Vector3& b) {
  const Column u{a.x, a.y, a.z};
  const Column v{b.x, b.y, b.z};
  // atan2 of |u x v| and |u . v| is accurate near 0 and near 90 degrees alike.
  const Column c = Cross(u, v);
  const Extended angle = std::atan2(std::sqrt(Dot(c, c)), std::fabs(Dot(u, v)));
  return static_cast<double>(numeric::RadiansToDegrees(angle));
}

BuiltState BuildFromPrincipal(const PrincipalInput& in) {
  if (!(in.s1 >= in.s2 && in.s2 >= in.s3))
    return {std::nullopt, "s1 \u2265 s2 \u2265 s3 is required"};
  const stress::Vector3 a1 = AxisVector(in.s1Azimuth, in.s1Dip, in.convention);
  const stress::Vector3 a3 = AxisVector(in.s3Azimuth, in.s3Dip, in.convention);
  const double angle = AngleBetweenAxes(a1, a3);
  if (90.0 - angle > kPerpendicularTolerance) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "The s1 and s3 axes are %.2f\u00b0 apart; they must be perpendicular within "
                  "%g\u00b0",
                  angle, kPerpendicularTolerance);
    return {std::nullopt, text};
  }
  const Column u1 = Normalised({a1.x, a1.y, a1.z});
  Column w{a3.x, a3.y, a3.z};
  const Extended along = Dot(w, u1);
  const Column u3 = Normalised({w[0] - along * u1[0], w[1] - along * u1[1], w[2] - along * u1[2]});
  const Column u2 = Cross(u3, u1);
  const Extended s[3] = {in.s1, in.s2, in.s3};
  const Column* u[3] = {&u1, &u2, &u3};
  Extended t[3][3] = {};
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j)
        t[i][j] += s[k] * (*u[k])[i] * (*u[k])[j];
    }
  }
  stress::StressState state;
  state.sx = static_cast<double>(t[0][0]);
  state.sy = static_cast<double>(t[1][1]);
  state.sz = static_cast<double>(t[2][2]);
  state.txy = static_cast<double>((t[0][1] + t[1][0]) / 2.0L);
  state.tyz = static_cast<double>((t[1][2] + t[2][1]) / 2.0L);
  state.tzx = static_cast<double>((t[2][0] + t[0][2]) / 2.0L);
  return {state, {}};
}

}  // namespace analysis
