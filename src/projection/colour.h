#pragma once
// Colours of the net, as 24-bit values packed 0x00BBGGRR.

#include <cstdint>

namespace projection {

using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kGreen = 0x008000;  ///< s1
inline constexpr Colour kRed = 0x0000FF;    ///< s2
inline constexpr Colour kBlue = 0xFF0000;   ///< s3

inline constexpr int RedOf(Colour c) {
  return static_cast<int>(c & 0xFF);
}
inline constexpr int GreenOf(Colour c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int BlueOf(Colour c) {
  return static_cast<int>((c >> 16) & 0xFF);
}

}  // namespace projection
