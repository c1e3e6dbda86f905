#include "stress/axis_candidate.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <cstddef>

#include "numeric/floating_point_error.h"

namespace stress::detail {

using numeric::Extended;

namespace {

struct Candidate {
  Vector3 v;
  double norm = 0.0;        ///< as the rule compares it
  Extended longNorm = 0.0;  ///< before its rounding, which divides it out
};

Candidate MakeCandidate(Extended x, Extended y, Extended z) {
  Candidate c;
  c.v = {numeric::Store(x), numeric::Store(y), numeric::Store(z)};
  const Extended cx = c.v.x;
  const Extended cy = c.v.y;
  const Extended cz = c.v.z;
  c.longNorm = std::sqrt(cz * cz + cy * cy + cx * cx);
  c.norm = numeric::Store(c.longNorm);
  return c;
}

using Candidates = std::array<Candidate, 3>;

/// The three candidates for the rows (a - v, h, g), (h, b - v, f),
/// (g, f, c - v) of the symmetric matrix [[a, h, g], [h, b, f], [g, f, c]]
/// less v*I.
Candidates CandidatesOfRows(Extended a, Extended b, Extended c, Extended h, Extended f, Extended g,
                            Extended v) {
  // The cross products written out term by term (not factored), the terms in
  // the extended type, each component rounded once.
  return {
      MakeCandidate(h * f - g * b + g * v, h * g - f * a + f * v, (a - v) * (b - v) - h * h),
      MakeCandidate((b - v) * (c - v) - f * f, f * g - h * c + h * v, f * h - g * b + g * v),
      MakeCandidate(g * f - h * c + h * v, (c - v) * (a - v) - g * g, g * h - f * a + f * v),
  };
}

/// The first candidate whose norm exceeds 1e-4, the third when none does; a
/// norm of exactly 1e-4 moves on to the next candidate.
std::size_t RulePick(const Candidates& candidates) {
  constexpr Extended kUsableNorm = 1e-4L;
  if (candidates[0].norm > kUsableNorm)
    return 0;
  return candidates[1].norm > kUsableNorm ? 1 : 2;
}

/// The candidate divided by its norm; nothing for a zero vector.
std::optional<Vector3> Unit(const Candidate& chosen) {
  if (chosen.norm == 0.0)
    return std::nullopt;
  // A norm below the normal double range keeps only a few digits when
  // stored, too few for a unit vector; the unrounded norm divides then.
  const Extended norm = chosen.norm < DBL_MIN ? chosen.longNorm : chosen.norm;
  return Vector3{numeric::Store(numeric::Quotient(chosen.v.x, norm)),
                 numeric::Store(numeric::Quotient(chosen.v.y, norm)),
                 numeric::Store(numeric::Quotient(chosen.v.z, norm))};
}

/// The rule's candidate unless it is negligible against the longest, which
/// then replaces it.
std::optional<Vector3> AccurateUnit(const Candidates& candidates) {
  std::size_t pick = RulePick(candidates);
  std::size_t largest = 0;
  for (std::size_t i = 1; i < 3; ++i) {
    if (candidates[i].norm > candidates[largest].norm)
      largest = i;
  }
  if (static_cast<Extended>(candidates[pick].norm) <
      static_cast<Extended>(kNegligibleCandidate) * candidates[largest].norm) {
    pick = largest;
  }
  return Unit(candidates[pick]);
}

Candidates CandidatesOf(const StressState& state, Extended s) {
  return CandidatesOfRows(state.sx, state.sy, state.sz, state.txy, state.tyz, state.tzx, s);
}

}  // namespace

std::optional<Vector3> CandidateAxis(const DeviatoricStress& d, Extended y) {
  return AccurateUnit(CandidatesOfRows(d.dx, d.dy, d.dz, d.txy, d.tyz, d.tzx, y));
}

std::optional<Vector3> CandidateAxis(const StressState& state, Extended s) {
  return AccurateUnit(CandidatesOf(state, s));
}

std::optional<Vector3> RuleCandidate(const StressState& state, Extended s) {
  const Candidates candidates = CandidatesOf(state, s);
  return Unit(candidates[RulePick(candidates)]);
}

}  // namespace stress::detail
