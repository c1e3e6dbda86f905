#pragma once
// Families of generated stress tensors and an independent reference solver
// for the property tests of the principal values and axes.

#include <Eigen/Dense>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "stress/stress_state.h"

namespace stress::testing {

using LongMatrix = Eigen::Matrix<long double, 3, 3>;
using LongColumn = Eigen::Matrix<long double, 3, 1>;

/// Every family has at least this many tensors.
inline constexpr int kTensorsPerFamily = 20000;

enum class Family {
  kRandom,           ///< components uniform in [-100, 100]
  kMagnitudes,       ///< components of sizes 1e-6 to 1e9
  kLargeMean,        ///< a mean 1e2 to 1e8 times the deviator
  kClosePair,        ///< two values 1e-12 to 1e-3 apart (relative), sizes up to 1e5
  kRepeated,         ///< exactly repeated pairs and isotropic states
  kPlaneShear,       ///< one principal value equal to the mean (R = 0)
  kSmallWithZeros,   ///< sizes 1e-8 to 1e-3, about half the components zero
  kNearlyIsotropic,  ///< a deviator 1e-13 to 1e-6 of the mean, its values well separated
};

struct FamilyCase {
  const char* name;
  Family family;
  std::uint64_t seed;
};

inline constexpr FamilyCase kFamilies[] = {
    {"random_components", Family::kRandom, 11},
    {"magnitudes_1e-6_to_1e9", Family::kMagnitudes, 12},
    {"mean_over_deviator_1e2_to_1e8", Family::kLargeMean, 13},
    {"nearly_repeated_pair", Family::kClosePair, 14},
    {"repeated_and_isotropic", Family::kRepeated, 15},
    {"plane_shear", Family::kPlaneShear, 16},
    {"small_with_zero_components", Family::kSmallWithZeros, 17},
};

inline LongMatrix ToMatrix(const StressState& s) {
  LongMatrix m;
  m << s.sx, s.txy, s.tzx, s.txy, s.sy, s.tyz, s.tzx, s.tyz, s.sz;
  return m;
}

inline StressState FromMatrix(const LongMatrix& m) {
  return {static_cast<double>(m(0, 0)), static_cast<double>(m(1, 1)), static_cast<double>(m(2, 2)),
          static_cast<double>(m(0, 1)), static_cast<double>(m(1, 2)), static_cast<double>(m(2, 0))};
}

inline long double MaxComponent(const StressState& s) {
  return std::max({std::fabs(s.sx), std::fabs(s.sy), std::fabs(s.sz), std::fabs(s.txy),
                   std::fabs(s.tyz), std::fabs(s.tzx)});
}

inline long double SumOfMagnitudes(const StressState& s) {
  return std::fabs(s.sx) + std::fabs(s.sy) + std::fabs(s.sz) + std::fabs(s.txy) + std::fabs(s.tyz) +
         std::fabs(s.tzx);
}

/// The six components, as a failure message names a tensor.
inline std::string Describe(const StressState& s) {
  std::ostringstream text;
  text.precision(17);
  text << "sx=" << s.sx << " sy=" << s.sy << " sz=" << s.sz << " txy=" << s.txy << " tyz=" << s.tyz
       << " tzx=" << s.tzx;
  return text.str();
}

/// Generator of one family's tensors.
class TensorSource {
 public:
  TensorSource(Family family, std::uint64_t seed) : family_(family), random_(seed) {}

  StressState Next() {
    switch (family_) {
      case Family::kRandom:
        return Components(100.0);
      case Family::kMagnitudes:
        return Components(Power(-6.0, 9.0));
      case Family::kLargeMean:
        return LargeMean();
      case Family::kClosePair:
        return ClosePair();
      case Family::kRepeated:
        return Repeated();
      case Family::kPlaneShear:
        return PlaneShear();
      case Family::kSmallWithZeros:
        return SmallWithZeros();
      case Family::kNearlyIsotropic:
        return NearlyIsotropic();
    }
    return {};
  }

 private:
  double Uniform(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(random_);
  }
  int Integer(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
  double Power(double lo, double hi) { return std::pow(10.0, Uniform(lo, hi)); }
  double Sign() { return Integer(0, 1) == 0 ? -1.0 : 1.0; }

  StressState Components(double size) {
    return {Uniform(-size, size), Uniform(-size, size), Uniform(-size, size),
            Uniform(-size, size), Uniform(-size, size), Uniform(-size, size)};
  }

  /// A uniformly distributed rotation, from a random unit quaternion.
  LongMatrix Rotation() {
    std::normal_distribution<long double> normal;
    long double w = normal(random_), x = normal(random_), y = normal(random_), z = normal(random_);
    const long double n = std::sqrt(w * w + x * x + y * y + z * z);
    w /= n, x /= n, y /= n, z /= n;
    LongMatrix r;
    r << 1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (x * z + w * y),  //
        2 * (x * y + w * z), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x),   //
        2 * (x * z - w * y), 2 * (y * z + w * x), 1 - 2 * (x * x + y * y);
    return r;
  }

  /// The tensor with principal values a, b, c along random axes, rounded to doubles.
  StressState Rotated(long double a, long double b, long double c) {
    const LongMatrix r = Rotation();
    const LongMatrix d = LongColumn(a, b, c).asDiagonal();
    return FromMatrix(r * d * r.transpose());
  }

  StressState LargeMean() {
    const double deviator = Power(-3.0, 3.0);
    const double mean = Sign() * deviator * Power(2.0, 8.0);
    StressState s = Components(deviator);
    s.sx += mean;
    s.sy += mean;
    s.sz += mean;
    return s;
  }

  StressState ClosePair() {
    const double size = Power(0.0, 5.0);
    const double pair = Uniform(-size, size);
    const double other = pair + Sign() * size * Uniform(0.5, 1.5);
    return Rotated(pair, pair + Sign() * size * Power(-12.0, -3.0), other);
  }

  StressState Repeated() {
    switch (Integer(0, 3)) {
      case 0: {
        // a*I + b*n*n^T with small integers and dyadic scales: every entry is
        // exact, so two values are exactly a.
        const double scale = std::ldexp(1.0, Integer(-10, 10));
        const double a = Integer(-1000, 1000) * scale;
        const double b = Integer(-1000, 1000) * scale;
        std::array<int, 3> n{};
        do {
          n = {Integer(-3, 3), Integer(-3, 3), Integer(-3, 3)};
        } while (n[0] == 0 && n[1] == 0 && n[2] == 0);
        return {a + b * n[0] * n[0], a + b * n[1] * n[1], a + b * n[2] * n[2],
                b * n[0] * n[1],     b * n[1] * n[2],     b * n[2] * n[0]};
      }
      case 1: {
        const double a = Uniform(-1e3, 1e3);
        const double b = Uniform(-1e3, 1e3);
        const int single = Integer(0, 2);
        return {single == 0 ? b : a, single == 1 ? b : a, single == 2 ? b : a, 0.0, 0.0, 0.0};
      }
      case 2: {
        const double a = Uniform(-1e3, 1e3);
        return Rotated(a, a, Uniform(-1e3, 1e3));
      }
      default: {
        const double a = Integer(0, 9) == 0 ? 0.0 : Uniform(-1e3, 1e3);
        return {a, a, a, 0.0, 0.0, 0.0};
      }
    }
  }

  StressState PlaneShear() {
    const double size = Power(-3.0, 5.0);
    if (Integer(0, 1) == 0) {
      // A state in one coordinate plane with zero mean: R is exactly zero.
      const double p = Integer(0, 2) == 0 ? 0.0 : Uniform(-size, size);
      const double t = Uniform(-size, size);
      switch (Integer(0, 2)) {
        case 0:
          return {p, -p, 0.0, t, 0.0, 0.0};
        case 1:
          return {0.0, p, -p, 0.0, t, 0.0};
        default:
          return {-p, 0.0, p, 0.0, 0.0, t};
      }
    }
    const double mean = Integer(0, 1) == 0 ? 0.0 : Uniform(-size, size);
    const double t = Uniform(0.0, size);
    return Rotated(mean + t, mean, mean - t);
  }

  StressState SmallWithZeros() {
    const double size = Power(-8.0, -3.0);
    StressState s = Components(size);
    double* parts[] = {&s.sx, &s.sy, &s.sz, &s.txy, &s.tyz, &s.tzx};
    for (double* p : parts) {
      if (Integer(0, 1) == 0)
        *p = 0.0;
    }
    return s;
  }

  /// Values mean + size * (1, b, -1) along random axes, with |mean| from 1e-1
  /// to 1e5, size from 1e-13 to 1e-6 of |mean| and b in [-1/2, 1/2], so that
  /// the values are at least size/2 apart. Rounding the components to doubles
  /// moves the values by up to about 1e-16 * |mean|, at most a thousandth of
  /// the size, so the tensor's own values stay well separated.
  StressState NearlyIsotropic() {
    const double mean = Sign() * Power(-1.0, 5.0);
    const double size = std::fabs(mean) * Power(-13.0, -6.0);
    return Rotated(static_cast<long double>(mean) + size,
                   static_cast<long double>(mean) + size * Uniform(-0.5, 0.5),
                   static_cast<long double>(mean) - size);
  }

  Family family_;
  std::mt19937_64 random_;
};

/// The eigen decomposition of the tensor's doubles, in long double by an
/// iterative solver, with the values sorted s1 >= s2 >= s3.
struct Reference {
  std::array<long double, 3> values{};
  std::array<LongColumn, 3> axes{};
};

inline Reference Solve(const StressState& s) {
  const Eigen::SelfAdjointEigenSolver<LongMatrix> solver(ToMatrix(s));
  Reference r;
  for (int i = 0; i < 3; ++i) {
    r.values[static_cast<std::size_t>(i)] = solver.eigenvalues()(2 - i);
    r.axes[static_cast<std::size_t>(i)] = solver.eigenvectors().col(2 - i);
  }
  return r;
}

}  // namespace stress::testing
