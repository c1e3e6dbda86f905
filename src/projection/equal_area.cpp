#include "projection/equal_area.h"

#include <array>

#include "numeric/extended_math.h"
#include "numeric/floating_point_error.h"

namespace projection {

using numeric::Extended;

namespace {

using numeric::kHalfPi;
using numeric::kPi;
using numeric::SinCos;
using numeric::SineCosine;
using numeric::Store;

/// Appends the point at the polar angle whose sine and cosine are `t` and at
/// radius r.
void AddPolarPoint(PointSeries& series, const SineCosine& t, Extended r, std::string_view label,
                   Colour colour) {
  const double x = Store(t.cos * r);
  const double y = Store(t.sin * r);
  series.AddPoint(x, y, label, colour);
}

/// The polar angle of a pole: the azimuth beta + 180 deg, as an angle from +x.
SineCosine PoleAngle(double dipDirection) {
  return SinCos(3.0 * kPi / 2.0 - dipDirection);
}

/// The primitive circle's points: the same for every pass, so computed once.
struct CirclePoint {
  double x;
  double y;
};
const std::array<CirclePoint, kCirclePoints>& PrimitiveCircle() {
  static const std::array<CirclePoint, kCirclePoints> circle = [] {
    std::array<CirclePoint, kCirclePoints> points{};
    for (int i = 0; i < kCirclePoints; ++i) {
      const SineCosine t = SinCos(i * kCircleStep);
      points[i] = {Store(t.cos), Store(t.sin)};
    }
    return points;
  }();
  return circle;
}

}  // namespace

double EqualAreaRadius(double v) {
  const Extended value = v > 1.0 ? 1.0 : static_cast<Extended>(v);
  // g is 1 - sin p for a line of plunge p with cos^2 p = value; the radius is
  // then sqrt(1 - sin p), the Lambert radius scaled to 1 on the horizon.
  const Extended g = 1.0 - numeric::Sqrt(1.0 - value);
  return Store(numeric::Sqrt((value + g * g) / 2.0));
}

PolePoint PolePosition(double dipDirection, double dip) {
  // As TracePlane places the pole: nz = cos dip, then 1 - nz^2.
  double nz = Store(SinCos(static_cast<Extended>(dip)).cos);
  if (std::fabs(nz) < kVerticalGuard)
    nz = kVerticalGuard;
  const SineCosine tp = PoleAngle(dipDirection);
  const Extended r = EqualAreaRadius(Store(1.0 - static_cast<Extended>(nz) * nz));
  return {Store(r * tp.cos), Store(r * tp.sin)};
}

void AddPrimitiveCircle(PointSeries& circle) {
  for (const CirclePoint& p : PrimitiveCircle())
    circle.AddPoint(p.x, p.y, "", kBlack);
}

void PlotPlane(PointSeries& series, PointSeries& poles, Colour colour, double dipDirection,
               double dip, std::string_view label) {
  const Extended beta = dipDirection;
  const Extended psi = dip;
  const SineCosine b = SinCos(beta);
  const SineCosine p = SinCos(psi);
  const double nx = Store(p.sin * b.sin);
  const double ny = Store(p.sin * b.cos);
  const double nz = Store(p.cos);
  // The two strike directions, azimuths beta - 90 and beta + 90, as polar
  // angles (pi - beta and -beta); the trace runs clockwise between them.
  const double startAngle = Store(kHalfPi - (beta - kHalfPi));
  const double endAngle = Store(kHalfPi - (beta + kHalfPi));
  series.ClearPoints();
  TracePlane(series, poles, colour, nx, ny, nz, startAngle, endAngle, dipDirection, label);
}

void TracePlane(PointSeries& series, PointSeries& poles, Colour colour, double nx, double ny,
                double nz, double startAngle, double endAngle, double dipDirection,
                std::string_view label) {
  if (std::fabs(nz) < kVerticalGuard)
    nz = kVerticalGuard;
  const Extended step = (static_cast<Extended>(endAngle) - startAngle) / 180.0;

  for (int k = 0; k < kTracePoints; ++k) {
    const SineCosine t = SinCos(startAngle + k * step);
    const Extended cosT = t.cos;
    const Extended sinT = t.sin;
    // S = tan^2 p, p the apparent dip of the plane along polar angle t, so
    // D = cos^2 p. S is formed as the square of (nx cos t + ny sin t) / nz
    // rather than expanded into (nx/nz)^2 cos^2 t + (ny/nz)^2 sin^2 t +
    // sin 2t nx ny / nz^2: for a steep plane the expanded terms reach 1e10
    // and cancel near the strike, which pulls the trace's ends up to 8e-6
    // inside the rim; the square is exact there and never negative.
    const Extended tanP = (nx * cosT + ny * sinT) / nz;
    const double d = Store(1.0 / (tanP * tanP + 1.0));
    AddPolarPoint(series, t, EqualAreaRadius(d), "", colour);
  }

  // The pole is the normal taken downward: plunge 90 deg - dip towards the
  // azimuth beta + 180 deg, whose squared cosine of plunge is 1 - nz^2.
  const SineCosine tp = PoleAngle(dipDirection);
  const double l = Store(1.0 - static_cast<Extended>(nz) * nz);
  AddPolarPoint(poles, tp, EqualAreaRadius(l), label, colour);
}

}  // namespace projection
