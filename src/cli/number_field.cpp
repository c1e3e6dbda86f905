#include "cli/number_field.h"

#include <QString>
#include <charconv>
#include <cmath>

#include "numeric/floating_point_error.h"
#include "text/number_text.h"

namespace cli {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<double> ReadPlainDecimal(std::string_view text) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* p = begin;
  if (p != end && *p == '-')
    ++p;
  bool nonZero = false;
  const char* const wholeStart = p;
  for (; p != end && IsDigit(*p); ++p)
    nonZero |= *p != '0';
  if (p == wholeStart)
    return std::nullopt;  // ".5" and the like: ReadNumber decides
  if (p != end && *p == '.') {
    const char* const fractionStart = ++p;
    for (; p != end && IsDigit(*p); ++p)
      nonZero |= *p != '0';
    if (p == fractionStart)
      return std::nullopt;
  }
  if (p != end && (*p == 'e' || *p == 'E')) {
    ++p;
    if (p != end && (*p == '+' || *p == '-'))
      ++p;
    const char* const exponentStart = p;
    for (; p != end && IsDigit(*p); ++p) {
    }
    if (p == exponentStart || p - exponentStart > 3)
      return std::nullopt;
  }
  if (p != end)
    return std::nullopt;
  double value = 0.0;
  const std::from_chars_result read = std::from_chars(begin, end, value);
  if (read.ec != std::errc() || read.ptr != end)
    return std::nullopt;
  // A zero mantissa is exactly (signed) zero; a nonzero one must give a
  // normal double, the subnormal range and beyond being left to ReadNumber.
  if (nonZero ? !std::isnormal(value) : value != 0.0)
    return std::nullopt;
  return value;
}

NumberField ReadNumberField(std::string_view text) {
  if (const std::optional<double> plain = ReadPlainDecimal(text))
    return {plain, {}};
  static const text::Separators kPoint{QStringLiteral("."), QString()};
  try {
    return {text::ReadNumber(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                             kPoint),
            {}};
  } catch (const text::ConversionError& error) {
    return {std::nullopt, error.what()};
  } catch (const numeric::FloatingPointError& error) {
    return {std::nullopt, error.what()};
  }
}

}  // namespace cli
