#pragma once
// Lower-hemisphere equal-area (Schmidt) net of planes.
// Net coordinates: x East, y North, unit circle = horizon. A plane is given by
// its dip direction (azimuth of steepest descent, clockwise from North) and its
// dip, both in radians and of any finite value. Terms are carried in long
// double and the point coordinates stored as doubles.

#include <string_view>

#include "projection/point_series.h"

namespace projection {

inline constexpr int kCirclePoints = 91;
inline constexpr int kTracePoints = 181;
/// Angular step of the primitive circle: close to, not exactly, 4 degrees.
inline constexpr double kCircleStep = 0.06981317;
/// |cos dip| below this is replaced by it: the only guard against 0 division.
inline constexpr double kVerticalGuard = 0.00001;

/// Radius of a line whose squared cosine of plunge is v (v > 1 taken as 1):
/// sqrt((v + g^2) / 2) with g = 1 - sqrt(1 - v); 1 on the horizon, 0 at the centre.
double EqualAreaRadius(double v);

/// Appends the 91 points of the primitive circle (black, no labels), from
/// (1, 0) counter-clockwise. Does not clear the series.
void AddPrimitiveCircle(PointSeries& circle);

/// Empties `series`, traces the plane's great circle into it (181 points in
/// `colour`, no labels) and appends its pole, labelled `label`, to `poles`.
void PlotPlane(PointSeries& series, PointSeries& poles, Colour colour, double dipDirection,
               double dip, std::string_view label);

/// The trace of a plane with upward unit normal (nx, ny, nz) from polar angle
/// startAngle to endAngle in 180 equal steps, then its pole at polar angle
/// 3pi/2 - dipDirection. |nz| below kVerticalGuard is replaced by the guard.
void TracePlane(PointSeries& series, PointSeries& poles, Colour colour, double nx, double ny,
                double nz, double startAngle, double endAngle, double dipDirection,
                std::string_view label);

}  // namespace projection
