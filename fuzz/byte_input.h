#pragma once
// Decoding of fuzzer bytes shared by the checks: every byte string is a
// valid input, missing bytes read as zero.

#include <QString>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>

#include "text/number_text.h"

namespace fuzz {

class ByteInput {
 public:
  explicit ByteInput(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::uint8_t Byte() { return offset_ < bytes_.size() ? bytes_[offset_++] : 0; }

  /// Eight bytes as the bits of a double, least significant first.
  double Double() {
    std::uint64_t bits = 0;
    for (int shift = 0; shift < 64; shift += 8)
      bits |= std::uint64_t{Byte()} << shift;
    return std::bit_cast<double>(bits);
  }

  /// The bytes not read yet.
  std::span<const std::uint8_t> Rest() const {
    return offset_ < bytes_.size() ? bytes_.subspan(offset_) : std::span<const std::uint8_t>();
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t offset_ = 0;
};

/// Separators chosen by the low two bits of `selector`: "." and ",", "," and
/// ".", "," and U+202F, or both empty (which stand for "." and no grouping).
inline text::Separators SeparatorsFor(std::uint8_t selector) {
  switch (selector & 3) {
    case 1:
      return {QStringLiteral(","), QStringLiteral(".")};
    case 2:
      return {QStringLiteral(","), QString(QChar(0x202F))};
    case 3:
      return {QString(), QString()};
    default:
      return {QStringLiteral("."), QStringLiteral(",")};
  }
}

}  // namespace fuzz
