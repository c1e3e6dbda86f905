#pragma once
// Numbers of a CSV field, read exactly as the window reads a typed number with
// "." as the decimal separator (text::ReadNumber), giving the same double or
// the same message.

#include <optional>
#include <string>
#include <string_view>

namespace cli {

/// A field read as a number: its value, or the message the window would show
/// for it, without a final period.
struct NumberField {
  std::optional<double> value;
  std::string error;
};

/// The double of a strictly plain decimal, -?digits[.digits][e[+-]digits] with
/// at most three exponent digits, when it is zero or a normal double (read by
/// std::from_chars, which rounds correctly as ReadNumber does); empty for any
/// other text, which the caller must read with ReadNumber.
std::optional<double> ReadPlainDecimal(std::string_view text);

/// `text` (UTF-8) read as text::ReadNumber reads it with the separators "."
/// and none, bit for bit: the plain decimals by ReadPlainDecimal, every other
/// text by ReadNumber itself. The error is ReadNumber's message,
/// "'<text>' is not a valid floating point value" or "Floating point overflow".
NumberField ReadNumberField(std::string_view text);

}  // namespace cli
