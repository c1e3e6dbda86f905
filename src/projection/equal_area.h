#pragma once
// Lower-hemisphere equal-area (Schmidt) net of planes.
// Net coordinates: x East, y North, unit circle = horizon. A plane is given by
// its dip direction (azimuth of steepest descent, clockwise from North) and its
// dip, both in radians and of any finite value (sine and cosine are 0 at a
// magnitude of 2^63 or more). A line plunging p below the horizontal towards
// an azimuth plots at radius sqrt(1 - sin p) in that direction. Terms are
// carried in the extended type (numeric/extended.h) and the quantities kept
// between steps stored as doubles; a NaN or an overflow in a stored quantity
// throws numeric::FloatingPointError.

#include <string_view>

#include "numeric/extended.h"
#include "projection/point_series.h"

namespace projection {

inline constexpr int kCirclePoints = 91;
inline constexpr int kTracePoints = 181;
/// Angular step of the primitive circle: close to, not exactly, 4 degrees, so
/// the last point stops 7.2e-9 rad short of a full turn.
inline constexpr numeric::Extended kCircleStep = 0.06981317L;
/// |cos dip| below this is replaced by it: the only guard against 0 division.
inline constexpr double kVerticalGuard = 0.00001;

/// Radius of a line whose squared cosine of plunge is v (v > 1 taken as 1):
/// sqrt((v + g^2) / 2) with g = 1 - sqrt(1 - v); 1 on the horizon, 0 at the
/// centre. A v below 0 or NaN is no squared cosine and throws
/// "Invalid floating point operation".
double EqualAreaRadius(double v);

/// Net coordinates of the pole of the plane dipping `dip` towards
/// `dipDirection` (radians): the same point PlotPlane plots for its pole.
struct PolePoint {
  double x = 0.0;
  double y = 0.0;
};
PolePoint PolePosition(double dipDirection, double dip);

/// Appends the 91 points of the primitive circle (black, no labels), from
/// (1, 0) counter-clockwise. Does not clear the series.
void AddPrimitiveCircle(PointSeries& circle);

/// Empties `series`, traces the plane's great circle into it (181 points in
/// `colour`, no labels) and appends its pole, labelled `label`, to `poles`.
/// The trace runs from azimuth dipDirection - 90 deg to dipDirection + 90 deg
/// (both on the primitive circle). Dips outside 0..pi/2 fold: dip, -dip and
/// pi - dip give the same points.
void PlotPlane(PointSeries& series, PointSeries& poles, Colour colour, double dipDirection,
               double dip, std::string_view label);

/// The trace of a plane with upward unit normal (nx, ny, nz) from polar angle
/// startAngle to endAngle in 180 equal steps, then its pole at polar angle
/// 3pi/2 - dipDirection. |nz| below kVerticalGuard is replaced by the guard.
void TracePlane(PointSeries& series, PointSeries& poles, Colour colour, double nx, double ny,
                double nz, double startAngle, double endAngle, double dipDirection,
                std::string_view label);

}  // namespace projection
