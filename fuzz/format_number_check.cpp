// CheckFormatNumber: the shape of FormatNumber's text and its reading back.

#include <QString>
#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "byte_input.h"
#include "fuzz_checks.h"
#include "numeric/floating_point_error.h"
#include "text/number_text.h"

namespace fuzz {
namespace {

/// The decimal exponent of the first significant digit of |x| (x != 0).
int LeadingExponent(double x) {
  std::array<char, 40> text{};
  std::to_chars(text.data(), text.data() + text.size(), x, std::chars_format::scientific, 17);
  return std::atoi(std::strchr(text.data(), 'e') + 1);
}

std::string Describe(double value, int decimals, const QString& text) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%a (%.17g) with %d decimals", value, value, decimals);
  return std::string(buffer) + " shows '" + text.toStdString() + "'";
}

}  // namespace

std::string CheckFormatNumber(std::span<const std::uint8_t> bytes) {
  ByteInput input(bytes);
  const double value = input.Double();
  const int decimals = static_cast<std::int8_t>(input.Byte());
  const text::Separators separators = SeparatorsFor(input.Byte());
  const QString text = text::FormatNumber(value, decimals, separators);
  const std::string shown = Describe(value, decimals, text);

  if (std::isnan(value) || std::isinf(value)) {
    const QString expected = std::isnan(value) ? QStringLiteral("NAN")
                             : value < 0       ? QStringLiteral("-INF")
                                               : QStringLiteral("INF");
    return text == expected ? std::string() : shown + ", not " + expected.toStdString();
  }

  const QString decimal = separators.decimal.isEmpty() ? QStringLiteral(".") : separators.decimal;
  QString plain = text;
  if (!separators.thousands.isEmpty())
    plain.remove(separators.thousands);
  double read = 0.0;
  try {
    read = text::ReadNumber(plain, separators);
  } catch (const numeric::FloatingPointError& e) {
    // Only the four largest magnitudes round past DBL_MAX.
    const QString expected = (value < 0 ? QStringLiteral("-1") : QStringLiteral("1")) + decimal +
                             QStringLiteral("79769313486232E308");
    if (std::fabs(value) >= 0x1.ffffffffffffcp+1023 && text == expected)
      return {};
    return shown + " reads as '" + e.what() + "'";
  } catch (const std::exception& e) {
    return shown + " does not read back: " + e.what();
  }

  // Half a unit of the last place kept (the clamped decimals or the 15th
  // significant digit, whichever is coarser), plus half a unit of the
  // 18-digit expansion the digits are cut from, plus the reading's half ulp.
  const int kept = std::clamp(decimals, 0, 18);
  const bool scientific = text.contains(u'E');
  if (value == 0.0) {
    if (read != 0.0)
      return shown + ", which reads as " + std::to_string(read);
  } else {
    const int leading = LeadingExponent(value);
    const long double unit = scientific
                                 ? std::pow(10.0L, leading - 14)
                                 : std::max(std::pow(10.0L, -kept), std::pow(10.0L, leading - 14));
    const long double tolerance = unit / 2 + std::pow(10.0L, leading - 17) / 2 +
                                  std::fabs(static_cast<long double>(value)) * DBL_EPSILON;
    if (std::fabs(static_cast<long double>(read) - value) > tolerance)
      return shown + ", which reads back " + std::to_string(double(read - value)) + " away";
  }

  // Shape: a sign only on a value that does not round to zero; in fixed form
  // exactly the clamped decimals; at most 15 significant digits.
  if (text.startsWith(u'-') != (read != 0.0 && std::signbit(value)))
    return shown + ": wrong sign";
  if (!scientific) {
    const qsizetype point = plain.indexOf(decimal);
    const qsizetype fraction = point < 0 ? 0 : plain.size() - point - decimal.size();
    if (fraction != kept || (kept == 0 && point >= 0))
      return shown + ": " + std::to_string(fraction) + " decimals";
  }
  qsizetype first = -1;
  qsizetype last = -1;
  const qsizetype end = scientific ? plain.indexOf(u'E') : plain.size();
  for (qsizetype i = 0, digit = 0; i < end; ++i) {
    if (plain[i] < u'0' || plain[i] > u'9')
      continue;
    if (plain[i] != u'0') {
      first = first < 0 ? digit : first;
      last = digit;
    }
    ++digit;
  }
  if (first >= 0 && last - first + 1 > 15)
    return shown + ": more than 15 significant digits";
  return {};
}

}  // namespace fuzz
