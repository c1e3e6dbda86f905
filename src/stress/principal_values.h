#pragma once
// Principal stress values. Conventions: see stress/stress_state.h.

#include "stress/stress_state.h"

namespace stress {

/// The three principal values of `s`, sorted s1 >= s2 >= s3.
/// Closed form (no iteration): a trigonometric solution of the cubic formed
/// from the deviatoric stresses; an all-but-zero tensor (sum of magnitudes
/// below 1e-9) gives three positive zeros. Each value lies within about
/// 1e-13 of the largest component magnitude of the true eigenvalue, including
/// repeated and nearly repeated values.
/// Throws numeric::FloatingPointError("Floating point overflow") at the first
/// stored quantity that exceeds the double range (for sx alone above about
/// 7.1e51 that is Q^3).
PrincipalValues ComputePrincipalValues(const StressState& s);

}  // namespace stress
