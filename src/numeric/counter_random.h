#pragma once
// Random numbers as a function of a counter: every draw is a hash of the
// seed and the draw's coordinates (a realization, a stream, a draw number),
// so that any draw can be made alone, in any order, on any thread, and
// gives the same bits.

#include <cstdint>

namespace numeric {

/// SplitMix64's finalizer: a bijection that spreads every input bit.
inline std::uint64_t Mix(std::uint64_t z) {
  z += 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

/// The top 53 bits of `bits` as a double uniform in (0, 1): never 0 or 1.
inline double OpenUnit(std::uint64_t bits) {
  return (static_cast<double>(bits >> 11) + 0.5) * 0x1p-53;
}

}  // namespace numeric
