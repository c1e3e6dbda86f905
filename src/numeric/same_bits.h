#pragma once
// Equality to the bit: a zero's sign and a NaN's payload count, so that two
// values compare equal only when every later result computed from them
// would be the same.

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <type_traits>

namespace numeric {

inline bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

/// Two optional values of a type without padding, both empty counting as
/// the same.
template <typename T>
bool SameBits(const std::optional<T>& a, const std::optional<T>& b) {
  static_assert(std::is_trivially_copyable_v<T>);
  return a.has_value() == b.has_value() && (!a || std::memcmp(&*a, &*b, sizeof(T)) == 0);
}

}  // namespace numeric
