#pragma once
// Generated sets of axes for the orientation tests: Fisher clusters, uniform
// samples, great circles, and random rotations to turn them with.

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "analysis/orientation_statistics.h"

namespace axis_samples {

using stress::Vector3;
using Rotation = std::array<std::array<double, 3>, 3>;

inline double Dot(const Vector3& a, const Vector3& b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}

/// The angle in radians between two axes (as lines), from the cross product
/// so that it keeps its digits near 0.
inline double AxisAngle(const Vector3& a, const Vector3& b) {
  const Vector3 c{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
  return std::atan2(std::sqrt(Dot(c, c)), std::fabs(Dot(a, b)));
}

inline Vector3 Unit(const Vector3& v) {
  const double l = std::sqrt(Dot(v, v));
  return {v.x / l, v.y / l, v.z / l};
}

/// A unit vector uniform on the sphere.
inline Vector3 UniformDirection(std::mt19937_64& random) {
  std::normal_distribution<double> normal;
  return Unit({normal(random), normal(random), normal(random)});
}

/// A rotation uniform over all rotations (from a uniform unit quaternion).
inline Rotation RandomRotation(std::mt19937_64& random) {
  std::normal_distribution<double> normal;
  double q[4];
  double l = 0.0;
  for (double& c : q) {
    c = normal(random);
    l += c * c;
  }
  l = std::sqrt(l);
  const double w = q[0] / l, x = q[1] / l, y = q[2] / l, z = q[3] / l;
  return {{{1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y)},
           {2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x)},
           {2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y)}}};
}

inline Vector3 Turn(const Rotation& r, const Vector3& v) {
  return {r[0][0] * v.x + r[0][1] * v.y + r[0][2] * v.z,
          r[1][0] * v.x + r[1][1] * v.y + r[1][2] * v.z,
          r[2][0] * v.x + r[2][1] * v.y + r[2][2] * v.z};
}

inline std::vector<analysis::WeightedAxis> Turn(const Rotation& r,
                                                const std::vector<analysis::WeightedAxis>& axes) {
  std::vector<analysis::WeightedAxis> turned;
  for (const analysis::WeightedAxis& a : axes)
    turned.push_back({Turn(r, a.axis), a.weight});
  return turned;
}

/// Two unit vectors at right angles to the unit `u`.
inline std::array<Vector3, 2> Across(const Vector3& u) {
  const Vector3 other = std::fabs(u.x) < 0.6 ? Vector3{1, 0, 0} : Vector3{0, 1, 0};
  const Vector3 e1 = Unit({u.y * other.z - u.z * other.y, u.z * other.x - u.x * other.z,
                           u.x * other.y - u.y * other.x});
  return {e1, Vector3{u.y * e1.z - u.z * e1.y, u.z * e1.x - u.x * e1.z, u.x * e1.y - u.y * e1.x}};
}

/// The direction at angle `theta` from the unit `u`, turned `phi` about it.
inline Vector3 AtAngle(const Vector3& u, double theta, double phi) {
  const auto [e1, e2] = Across(u);
  const double s = std::sin(theta), c = std::cos(theta);
  return {c * u.x + s * (std::cos(phi) * e1.x + std::sin(phi) * e2.x),
          c * u.y + s * (std::cos(phi) * e1.y + std::sin(phi) * e2.y),
          c * u.z + s * (std::cos(phi) * e1.z + std::sin(phi) * e2.z)};
}

/// `count` directions from the Fisher distribution about the unit `mean`
/// with concentration `kappa` (the cosine of the angle by inversion of its
/// distribution, the turn about the mean uniform); each negated with odds
/// `flipped`, as axes of either sign are.
inline std::vector<analysis::WeightedAxis> FisherAxes(std::mt19937_64& random, const Vector3& mean,
                                                      double kappa, int count,
                                                      double flipped = 0.0) {
  std::uniform_real_distribution<double> uniform(0.0, 1.0);
  std::vector<analysis::WeightedAxis> axes;
  for (int i = 0; i < count; ++i) {
    const double u = uniform(random);
    const double c = 1.0 + std::log(u + (1.0 - u) * std::exp(-2.0 * kappa)) / kappa;
    Vector3 v = AtAngle(mean, std::acos(std::clamp(c, -1.0, 1.0)), 2 * M_PI * uniform(random));
    if (uniform(random) < flipped)
      v = {-v.x, -v.y, -v.z};
    axes.push_back({v, 1.0});
  }
  return axes;
}

inline std::vector<analysis::WeightedAxis> UniformAxes(std::mt19937_64& random, int count) {
  std::vector<analysis::WeightedAxis> axes;
  for (int i = 0; i < count; ++i)
    axes.push_back({UniformDirection(random), 1.0});
  return axes;
}

}  // namespace axis_samples
