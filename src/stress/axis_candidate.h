#pragma once
// The axis of one principal value from the cross products of the rows of
// D - y*I, the deviator less a deviatoric root (or of S - s*I). Internal to
// the stress library. Conventions: see stress/stress_state.h.

#include <optional>

#include "numeric/extended.h"
#include "stress/deviatoric_stress.h"
#include "stress/stress_state.h"

namespace stress::detail {

/// A candidate shorter than this fraction of the longest is too inaccurate to
/// give a direction. The three candidates of an isolated value are parallel,
/// with lengths in proportion to the axis components |z|, |x| and |y|, and
/// carry rounding errors of about the same absolute size, so a candidate at a
/// thousandth of the longest has up to a thousand times its relative error
/// (residuals up to about 4e-13 of max|S| over random tensors). It is still
/// far more than rounding residue, so it keeps deciding the axis's sign (see
/// RuleCandidate); only the direction is taken from the longer candidate.
inline constexpr double kNegligibleCandidate = 1e-3;

/// The unit axis of the deviatoric root `y` of `d`, with the orientation of
/// the chosen candidate.
///
/// The three candidates are row x * row y, row y * row z and row z * row x of
/// D - y*I, each component rounded to double; a candidate's norm is taken
/// from the rounded components. All three are parallel to the axis of an
/// isolated value, with lengths proportional to its z, x and y components.
/// The first candidate whose norm exceeds 1e-4 is chosen, the third when none
/// does; that choice is kept unless its norm is below kNegligibleCandidate
/// times the largest norm, in which case the largest (the first of equal
/// ones) is taken. So the choice does not depend on the scale of the
/// stresses, except between candidates that are both reliable.
///
/// D - y*I is S - s*I for the value s = mean + meanRemainder + y, so the
/// candidates are those of s, but formed without the mean: every term is a
/// product of deviatoric sizes, and neither the rounding of s nor that of a
/// product with the mean enters. That keeps the axis of a nearly isotropic
/// state, whose deviator the last digits of the mean would otherwise swamp.
///
/// Returns nothing when all three candidates are zero vectors (D - y*I of
/// rank 0 or 1 in the computed numbers: a repeated value).
/// Throws numeric::FloatingPointError("Floating point overflow") when a
/// candidate component exceeds the double range.
std::optional<Vector3> CandidateAxis(const DeviatoricStress& d, numeric::Extended y);

/// The same choice for the value `s` of `state`, the candidates formed from
/// the rows of S - s*I in the same written forms: the candidates of a value as
/// it is stored and shown.
std::optional<Vector3> CandidateAxis(const StressState& state, numeric::Extended s);

/// The candidate that the 1e-4 rule alone picks for the value `s` of `state`
/// (rows of S - s*I as above; the first candidate whose norm exceeds 1e-4, the
/// third when none does), divided by its norm, whatever its length relative
/// to the others: the orientation every shown axis follows. Returns nothing
/// when that candidate is a zero vector.
/// Throws numeric::FloatingPointError("Floating point overflow") when a
/// candidate component exceeds the double range.
std::optional<Vector3> RuleCandidate(const StressState& state, numeric::Extended s);

}  // namespace stress::detail
