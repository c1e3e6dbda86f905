#pragma once
// Principal stress values. Conventions: see stress/stress_state.h.

#include "stress/stress_state.h"

namespace stress {

/// The three principal values of `s`, sorted s1 >= s2 >= s3.
///
/// Closed form, a fixed sequence of operations with no iteration:
/// - an all-but-zero tensor (sum of magnitudes below 1e-9) gives three
///   positive zeros;
/// - otherwise the trigonometric solution of the cubic y^3 - 3Q*y - 2R = 0
///   in y = s - mean, with Q and R formed from the deviatoric stresses; where
///   R is zero the solution takes its limit (an isotropic tensor gives three
///   values exactly equal to the mean);
/// - a tensor whose three shears are zero gives its normal stresses exactly,
///   sorted (the closed form still runs, for its overflow);
/// - two values closer than 1e-2 of the spread s1 - s3 come
///   from the 2x2 problem in the plane at right angles to the isolated
///   value's axis (stress/plane_pair.h), where the cubic loses accuracy.
/// Each value lies within a few 1e-15 of the largest component magnitude of
/// the exact eigenvalue, repeated and nearly repeated values included.
/// Throws numeric::FloatingPointError("Floating point overflow") at the first
/// stored quantity that exceeds the double range (for sx alone above about
/// 7.1e51 that is Q^3).
PrincipalValues ComputePrincipalValues(const StressState& s);

}  // namespace stress
