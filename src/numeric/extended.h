#pragma once
// The extended type in which formulas carry their intermediate terms before
// a quantity is rounded to the double it is stored as.
//
// It is long double: on x86 with g++ or clang the 80-bit x87 format with a
// 64-bit significand (epsilon 2^-63). Other compilers and processors may make
// long double no wider than double; a build with KELVANE_EXTENDED_AS_DOUBLE
// makes it double here, so that such a platform can be tried on x86. Every
// tolerance tied to the type's precision follows kExtendedEpsilon.

#include <limits>

namespace numeric {

#ifdef KELVANE_EXTENDED_AS_DOUBLE
using Extended = double;
#else
using Extended = long double;
#endif

/// The distance from 1 to the next Extended.
inline constexpr Extended kExtendedEpsilon = std::numeric_limits<Extended>::epsilon();

}  // namespace numeric
