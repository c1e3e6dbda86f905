#include "stress/axis_candidate.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "numeric/floating_point_error.h"

namespace stress::detail {

namespace {

struct Candidate {
  Vector3 v;
  double norm = 0.0;            ///< as the rule compares it
  long double longNorm = 0.0L;  ///< before its rounding, which divides it out
};

Candidate MakeCandidate(long double x, long double y, long double z) {
  Candidate c;
  c.v = {numeric::Store(x), numeric::Store(y), numeric::Store(z)};
  const long double cx = c.v.x;
  const long double cy = c.v.y;
  const long double cz = c.v.z;
  c.longNorm = std::sqrt(cz * cz + cy * cy + cx * cx);
  c.norm = numeric::Store(c.longNorm);
  return c;
}

/// The rule for the rows (a - v, h, g), (h, b - v, f), (g, f, c - v) of the
/// symmetric matrix [[a, h, g], [h, b, f], [g, f, c]] less v*I.
std::optional<Vector3> AxisOfRows(long double a, long double b, long double c, long double h,
                                  long double f, long double g, long double v) {
  // The cross products written out term by term (not factored), the terms in
  // long double, each component rounded once.
  const std::array<Candidate, 3> candidates = {
      MakeCandidate(h * f - g * b + g * v, h * g - f * a + f * v, (a - v) * (b - v) - h * h),
      MakeCandidate((b - v) * (c - v) - f * f, f * g - h * c + h * v, f * h - g * b + g * v),
      MakeCandidate(g * f - h * c + h * v, (c - v) * (a - v) - g * g, g * h - f * a + f * v),
  };

  // A norm of exactly 1e-4 moves on to the next candidate.
  constexpr long double kUsableNorm = 1e-4L;
  std::size_t pick = 0;
  if (candidates[0].norm <= kUsableNorm) {
    pick = 1;
    if (candidates[1].norm <= kUsableNorm)
      pick = 2;
  }
  std::size_t largest = 0;
  for (std::size_t i = 1; i < 3; ++i) {
    if (candidates[i].norm > candidates[largest].norm)
      largest = i;
  }
  const double largestNorm = candidates[largest].norm;
  if (largestNorm == 0.0)
    return std::nullopt;
  if (static_cast<long double>(candidates[pick].norm) <
      static_cast<long double>(kNegligibleCandidate) * largestNorm) {
    pick = largest;
  }

  // A norm below the normal double range keeps only a few digits when
  // stored, too few for a unit vector; the unrounded norm divides then.
  const Candidate& chosen = candidates[pick];
  const long double norm = chosen.norm < DBL_MIN ? chosen.longNorm : chosen.norm;
  return Vector3{numeric::Store(numeric::Quotient(chosen.v.x, norm)),
                 numeric::Store(numeric::Quotient(chosen.v.y, norm)),
                 numeric::Store(numeric::Quotient(chosen.v.z, norm))};
}

}  // namespace

std::optional<Vector3> CandidateAxis(const DeviatoricStress& d, long double y) {
  return AxisOfRows(d.dx, d.dy, d.dz, d.txy, d.tyz, d.tzx, y);
}

std::optional<Vector3> CandidateAxis(const StressState& state, long double s) {
  return AxisOfRows(state.sx, state.sy, state.sz, state.txy, state.tyz, state.tzx, s);
}

}  // namespace stress::detail
