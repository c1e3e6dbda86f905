#include "stress/axis_candidate.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "numeric/floating_point_error.h"

namespace stress::detail {

namespace {

struct Candidate {
  Vector3 v;
  double norm = 0.0;
};

Candidate MakeCandidate(long double x, long double y, long double z) {
  Candidate c;
  c.v = {numeric::Store(x), numeric::Store(y), numeric::Store(z)};
  const long double cx = c.v.x;
  const long double cy = c.v.y;
  const long double cz = c.v.z;
  c.norm = numeric::Store(std::sqrt(cz * cz + cy * cy + cx * cx));
  return c;
}

}  // namespace

std::optional<Vector3> CandidateAxis(const StressState& state, double s) {
  const long double sx = state.sx;
  const long double sy = state.sy;
  const long double sz = state.sz;
  const long double txy = state.txy;
  const long double tyz = state.tyz;
  const long double tzx = state.tzx;
  const long double sv = s;

  // The cross products written out term by term (not factored), the terms in
  // long double, each component rounded once.
  const std::array<Candidate, 3> candidates = {
      MakeCandidate(txy * tyz - tzx * sy + tzx * sv, txy * tzx - tyz * sx + tyz * sv,
                    (sx - sv) * (sy - sv) - txy * txy),
      MakeCandidate((sy - sv) * (sz - sv) - tyz * tyz, tyz * tzx - txy * sz + txy * sv,
                    tyz * txy - tzx * sy + tzx * sv),
      MakeCandidate(tzx * tyz - txy * sz + txy * sv, (sz - sv) * (sx - sv) - tzx * tzx,
                    tzx * txy - tyz * sx + tyz * sv),
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

  const Candidate& c = candidates[pick];
  return Vector3{numeric::Store(numeric::Quotient(c.v.x, c.norm)),
                 numeric::Store(numeric::Quotient(c.v.y, c.norm)),
                 numeric::Store(numeric::Quotient(c.v.z, c.norm))};
}

}  // namespace stress::detail
