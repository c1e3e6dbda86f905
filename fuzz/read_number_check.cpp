// CheckReadNumber: ReadNumber against the C library's strtod and strtold
// under the C locale, and against the conversion message built here from the
// text's code points.

#include <locale.h>

#include <QString>
#include <QStringView>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "byte_input.h"
#include "fuzz_checks.h"
#include "numeric/floating_point_error.h"
#include "text/number_text.h"

namespace fuzz {
namespace {

/// A text that follows the number syntax, taken apart; the exponent's
/// digits without their leading zeros.
struct Syntax {
  bool negative = false;
  std::string whole;
  std::string fraction;
  bool negativeExponent = false;
  std::string exponent;
};

class Cursor {
 public:
  explicit Cursor(QStringView text) : text_(text) {}
  bool Take(char16_t c) {
    if (i_ < text_.size() && text_[i_] == c) {
      ++i_;
      return true;
    }
    return false;
  }
  bool Take(QStringView s) {
    if (!text_.sliced(i_).startsWith(s))
      return false;
    i_ += s.size();
    return true;
  }
  std::string Digits() {
    std::string digits;
    while (i_ < text_.size() && text_[i_] >= u'0' && text_[i_] <= u'9')
      digits += static_cast<char>(text_[i_++].unicode());
    return digits;
  }
  void Spaces() {
    while (Take(u' ')) {
    }
  }
  bool AtEnd() const { return i_ == text_.size(); }

 private:
  QStringView text_;
  qsizetype i_ = 0;
};

std::optional<Syntax> Scan(QStringView text, QStringView decimal) {
  Cursor at(text);
  Syntax s;
  at.Spaces();
  if (at.Take(u'-'))
    s.negative = true;
  else
    at.Take(u'+');
  s.whole = at.Digits();
  const bool separator = at.Take(decimal);
  if (separator)
    s.fraction = at.Digits();
  if (s.whole.empty() && !separator)
    return std::nullopt;
  if (at.Take(u'e') || at.Take(u'E')) {
    if (at.Take(u'-'))
      s.negativeExponent = true;
    else
      at.Take(u'+');
    s.exponent = at.Digits();
  }
  at.Spaces();
  if (!at.AtEnd())
    return std::nullopt;
  // Exponent digits are read while the exponent is below 500. Past leading
  // zeros three digits always fit, a fourth only behind three below 500, and
  // a fifth never: a digit left over makes the text fail.
  s.exponent.erase(0, s.exponent.find_first_not_of('0'));
  if (s.exponent.size() >= 5 || (s.exponent.size() == 4 && s.exponent.compare(0, 3, "500") >= 0))
    return std::nullopt;
  return s;
}

/// The text's value in the C library's syntax, its exponent shifted by `shift`.
std::string Normal(const Syntax& s, int shift) {
  int exponent = s.exponent.empty() ? 0 : std::stoi(s.exponent);
  exponent = (s.negativeExponent ? -exponent : exponent) + shift;
  return (s.negative ? "-" : "") + (s.whole.empty() ? "0" : s.whole) + "." +
         (s.fraction.empty() ? "0" : s.fraction) + "e" + std::to_string(exponent);
}

locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
  return c;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

/// The conversion message: the text's code points (an unpaired surrogate or
/// U+0000 as U+FFFD), more than 81 of them shortened to the first and last 40
/// around U+2026, in UTF-8.
std::string ExpectedMessage(QStringView text) {
  std::vector<char32_t> points;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1].unicode() >= 0xDC00 &&
        text[i + 1].unicode() < 0xE000) {
      points.push_back(0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[++i].unicode() - 0xDC00));
    } else if ((c >= 0xD800 && c < 0xE000) || c == 0) {
      points.push_back(0xFFFD);
    } else {
      points.push_back(c);
    }
  }
  if (points.size() > 81) {
    std::vector<char32_t> ends(points.begin(), points.begin() + 40);
    ends.push_back(0x2026);
    ends.insert(ends.end(), points.end() - 40, points.end());
    points = ends;
  }
  std::string message = "'";
  for (const char32_t c : points)
    AppendUtf8(message, c);
  return message + "' is not a valid floating point value";
}

std::string Shown(const QString& text) {
  std::string shown = text.left(120).toStdString();
  if (text.size() > 120)
    shown += "... (" + std::to_string(text.size()) + " units)";
  return "'" + shown + "'";
}

std::string Hex(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%a", value);
  return buffer;
}

}  // namespace

std::string CheckReadNumber(std::span<const std::uint8_t> bytes) {
  ByteInput input(bytes);
  const std::uint8_t mode = input.Byte();
  const text::Separators separators = SeparatorsFor(mode);
  const std::span<const std::uint8_t> rest = input.Rest();
  QString text;
  if (mode & 4) {
    text = QString::fromUtf8(reinterpret_cast<const char*>(rest.data()), qsizetype(rest.size()));
  } else {
    text.resize(qsizetype(rest.size() / 2));
    for (qsizetype i = 0; i < text.size(); ++i)
      text[i] = QChar(char16_t(rest[2 * i] | (rest[2 * i + 1] << 8)));
  }

  // What the conversion did.
  std::optional<double> value;
  std::string conversionError;
  std::string floatingPointError;
  try {
    value = text::ReadNumber(text, separators);
  } catch (const text::ConversionError& e) {
    conversionError = e.what();
  } catch (const numeric::FloatingPointError& e) {
    floatingPointError = e.what();
  } catch (const std::exception& e) {
    return Shown(text) + " threw an unexpected exception: " + e.what();
  }

  const QStringView decimal =
      separators.decimal.isEmpty() ? QStringView(u".") : QStringView(separators.decimal);
  const std::optional<Syntax> syntax = Scan(text, decimal);
  if (!syntax) {
    if (value)
      return Shown(text) + " breaks the syntax but read as " + Hex(*value);
    if (conversionError != ExpectedMessage(text))
      return Shown(text) + " gave '" + conversionError + floatingPointError + "', not '" +
             ExpectedMessage(text) + "'";
    return {};
  }

  const std::string normal = Normal(*syntax, 0);
  const double expected = strtod_l(normal.c_str(), nullptr, CLocale());
  const long double wide = strtold_l(normal.c_str(), nullptr, CLocale());
  // Within 2^-58 of the long double limit the conversion's own rounding
  // decides between the two errors.
  const long double tenth = std::fabs(strtold_l(Normal(*syntax, -1).c_str(), nullptr, CLocale()));
  const long double limitTenth = LDBL_MAX / 10;
  const bool nearLimit = std::fabs(tenth - limitTenth) <= std::ldexp(limitTenth, -58);
  const bool overflow = floatingPointError == numeric::kOverflowMessage;
  const bool beyond = conversionError == ExpectedMessage(text);
  if (nearLimit && (overflow || beyond))
    return {};
  if (std::isinf(wide)) {
    if (!beyond)
      return Shown(text) + " lies beyond the long double range but gave '" + conversionError +
             floatingPointError + "'" + (value ? " value " + Hex(*value) : "");
  } else if (std::isinf(expected)) {
    if (!overflow)
      return Shown(text) + " lies beyond the double range but gave '" + conversionError +
             floatingPointError + "'" + (value ? " value " + Hex(*value) : "");
  } else if (!value) {
    return Shown(text) + " should read as " + Hex(expected) + " but gave '" + conversionError +
           floatingPointError + "'";
  } else if (std::bit_cast<std::uint64_t>(*value) != std::bit_cast<std::uint64_t>(expected)) {
    return Shown(text) + " read as " + Hex(*value) + ", strtod gives " + Hex(expected);
  }
  return {};
}

}  // namespace fuzz
