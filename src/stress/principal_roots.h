#pragma once
// The principal values before they are stored: the roots of the closed form
// in extended precision. Internal to the stress library. Conventions: see
// stress/stress_state.h.
//
// Rounding a value to double costs up to half a unit in the last place of the
// mean, which for a nearly isotropic state is most of the deviator: rows of
// S - s*I formed from a stored value lose their direction once the mean is
// about 1e8 times the deviator. The roots keep the deviatoric part of each
// value apart from the mean, so the axes can be formed from D - y*I, where
// neither the mean nor any rounding of it enters.

#include <array>

#include "numeric/extended.h"
#include "stress/deviatoric_stress.h"
#include "stress/stress_state.h"

namespace stress::detail {

/// One principal value in extended precision.
struct Root {
  numeric::Extended deviatoric = 0.0;  ///< y, the eigenvalue of the deviator
  /// mean + (meanRemainder + y), rounded once to be stored; for a state
  /// without shear the normal stress itself, y being its diagonal entry of
  /// the deviator.
  numeric::Extended value = 0.0;
};

/// The deviator of a state and its principal values, sorted s1 >= s2 >= s3
/// (both the deviatoric parts and the values).
struct PrincipalRoots {
  DeviatoricStress deviator;
  std::array<Root, 3> roots;
};

/// The principal values of `s` by the closed form of ComputePrincipalValues
/// (see stress/principal_values.h), before they are rounded to double:
/// numeric::Store of each `value` is the stored value. The same state always
/// gives the same roots, bit for bit. A state whose three shears are zero has
/// its normal stresses as values, exactly.
///
/// `deviatoric` is an eigenvalue of `deviator`, whose trace vanishes to the
/// rounding of its own entries, so it carries the rounding of the cubic's
/// stored quantities (a few units of the double's last place of the spread
/// s1 - s3) or that of the 2x2 problem, and nothing of the mean: not the
/// rounding of the mean, nor that of the sum with it.
///
/// Throws numeric::FloatingPointError as ComputePrincipalValues does.
PrincipalRoots ComputePrincipalRoots(const StressState& s);

}  // namespace stress::detail
