#pragma once
// The density of a set of axes (poles of planes, or lines) over the lower
// hemisphere, as contoured on the equal-area net.
// Frame: x East, y North, z up; axes as analysis/orientation_statistics.h
// takes them (unit, either sign, weights > 0, N the sum of the weights).
// The net and its rasters: analysis/net_raster.h.
//
// Methods, at a unit direction u, with c_i = |u . x_i|:
// - Exponential Kamb: W(u) = sum w_i exp(f (c_i - 1)), f = 2 (1 + N / k^2).
//   For an axis uniform on the sphere |c| is uniform on [0, 1], so one unit
//   term has mean m1 = (1 - e^-f) / f and second moment m2 = (1 - e^-2f) / 2f;
//   a uniform sample of the same weights has E = N m1 and
//   sigma^2 = (m2 - m1^2) sum w_i^2. The density is (W - E) / sigma: 0 where
//   the sample is as dense as a uniform one, in multiples of its standard
//   deviation. (For large f, E ~ N / f and sigma ~ N / (k f), so E ~ k sigma:
//   W / sigma, the count in sigma that some programs show, is this plus
//   about k.)
// - Kamb counting: the count C(u) = sum of w_i with c_i >= 1 - A, the double
//   cap of area fraction A = k^2 / (N + k^2) of the sphere. Uniformly
//   C is binomial: E = N A and sigma^2 = A (1 - A) sum w_i^2, so E = k sigma
//   with unit weights. The density is (C - E) / sigma, as above.
// - Schmidt (1 % area): the count in the cap c_i >= 0.99, which is 1 % of the
//   hemisphere, as 100 C / N: the percentage of the points in 1 % of the
//   area, 1 where the sample is uniform.
//
// Evaluation: the axes' downward ends (and the upward ends of those near the
// horizon) are kept in a grid of cubes of side at least two thirds of the
// cap's chord, so that a downward direction (an upward one is turned over)
// visits only the cubes near it (at most four along each edge). The exponential
// kernel is cut where exp(f (c - 1)) < e^-36.84 = 1e-16 (c < 1 - 36.84 / f):
// each term left out is below 1e-16 of its weight, so W is low by at most
// 1e-16 N, which is at most 1e-16 k f sigma with unit weights (below 1e-10
// sigma for a million axes). A term kept is exact to a few units of 2^-52
// but for its cosine's rounding, which moves it by f 2^-52 of itself, as in
// any evaluation. The counts are exact but for an axis whose cosine lies
// within rounding of the cap's edge. The work of a direction
// is about the number of axes in its cap, some 18 k^2 for the exponential
// kernel whatever N is (and three times as many visited), so that a raster
// costs about the same for any large set: 100,000 axes on 305 by 305 pixels
// take about 0.12 s of one core with the exponential kernel and 0.17 s
// with Schmidt's cap (1 %, some 1,000 axes a pixel), 0.03 s with Kamb's.

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "analysis/net_raster.h"
#include "analysis/orientation_statistics.h"
#include "stress/stress_state.h"

namespace analysis {

enum class DensityMethod {
  kExponentialKamb,  ///< sigma above a uniform sample's expectation
  kKamb,             ///< sigma above a uniform sample's expectation
  kSchmidt,          ///< % of the points per 1 % of the area
};

/// The lowest kernel value the exponential Kamb sum keeps: e^-36.84 = 1e-16.
inline constexpr double kKernelCut = 36.84;

struct DensityPeak;

/// The density of one set of axes, ready to be evaluated at any direction
/// from any number of threads at once.
class PoleDensity {
 public:
  /// `k` sets the Kamb methods' f and cap (Schmidt's cap is fixed). Throws
  /// std::invalid_argument for no axes, an axis of length 0, a weight that is
  /// not finite and positive, or a k that is not finite and positive.
  PoleDensity(std::span<const WeightedAxis> axes, DensityMethod method, double k = 3.0);

  DensityMethod Method() const { return method_; }
  /// N, the sum of the weights.
  double WeightSum() const { return weightSum_; }
  /// E and sigma of the kernel sum or count under uniformity (not used by Schmidt).
  double Expected() const { return expected_; }
  double Sigma() const { return sigma_; }
  /// The cosine below which an axis adds nothing (the cap, or the kernel's cut); <= 0 for none.
  double CapCosine() const { return capCosine_; }

  /// The density at the unit direction `u` (of either sign).
  double At(const stress::Vector3& u) const;
  /// The same at net point (x, y); NaN outside the unit circle.
  double AtNetPoint(double x, double y) const;

 private:
  friend DensityPeak FindDensityMaximum(const PoleDensity& density);
  /// The exponential kernel sum W at the unit u, with its gradient and
  /// Hessian as a function of u in space (each axis's sign as at u), for
  /// Newton's method.
  struct KernelTerms {
    double value;
    stress::Vector3 gradient;
    std::array<double, 6> hessian;  ///< xx, yy, zz, xy, yz, zx
  };
  KernelTerms KernelSum(const stress::Vector3& u) const;
  /// Calls visit(begin, end) for each range of entries that may lie in the
  /// cap about u.
  template <typename Visit>
  void ForEachNear(const stress::Vector3& u, const Visit& visit) const;
  /// The kernel sum or the count at u.
  double Sum(const stress::Vector3& u) const;
  template <bool kKernel>
  double SumRange(const stress::Vector3& u, std::size_t begin, std::size_t end) const;
  /// The cube along an edge that holds coordinate v.
  int Cube(double v) const;

  DensityMethod method_;
  double weightSum_ = 0.0;
  double expected_ = 0.0;
  double sigma_ = 1.0;
  double capCosine_ = 0.0;
  double f_ = 0.0;  ///< the exponential kernel's f
  /// The axes as columns of coordinates and weights. Where every axis counts
  /// at every direction (no cap) they are all there is, taken once;
  /// otherwise each axis's downward end, and the upward end of each within
  /// reach_ of the horizon, sorted into a grid of n_^3 cubes
  /// of side 2 / n_ over [-1, 1]^3, column (ix, iy) by column and each column
  /// by iz.
  std::vector<double> xs_, ys_, zs_, ws_;
  bool everywhere_ = false;
  int n_ = 0;
  double reach_ = 0.0;                  ///< the chord of the cap, with a margin for rounding
  std::vector<std::uint32_t> cubes_;    ///< iz of each entry
  std::vector<std::uint32_t> columns_;  ///< where column ix n_ + iy begins
};

/// The density at the centre of every pixel of rows [firstRow, lastRow) of
/// `raster`, row after row into `out` from out[firstRow * width]; NaN outside
/// the unit circle. Safe to run on disjoint row ranges at once, so that a
/// caller can share rows over threads and stop between ranges.
void FillDensityRows(const PoleDensity& density, const NetRaster& raster, int firstRow, int lastRow,
                     float* out);

/// The largest density and where it is.
struct DensityPeak {
  double value = 0.0;
  stress::Vector3 axis;  ///< unit, downward
  LineAngles line;
};

/// A search over the net's points (90 to 256 along an edge, spaced at most
/// half the kernel's width where that fits: 1 / sqrt(f) for the exponential
/// kernel, the cap's radius for the counts), then a climb from the best six
/// points that stand apart: Newton's method on the sphere for the smooth
/// kernel, which ends within about 1e-8 radians of a peak, and a compass
/// search down to steps of 1e-7 radians for the counts, whose flat tops give
/// a point of them. The value found is at least every grid point's. A climb
/// that comes near a peak already climbed stops, so a set with one cluster
/// costs about one climb.
DensityPeak FindDensityMaximum(const PoleDensity& density);

}  // namespace analysis
