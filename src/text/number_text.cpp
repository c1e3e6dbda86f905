#include "text/number_text.h"

#include <QStringEncoder>
#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "numeric/floating_point_error.h"

namespace text {

namespace {

// ---------------------------------------------------------------------------
// Reading

// Exponent digits are taken while the exponent read so far is below this.
constexpr int kExponentDigitLimit = 500;
// Significant digits a uint64 holds exactly (10^19 - 1 < 2^64).
constexpr int kMantissaDigits = 19;
// Powers up to 10^27 are exact in long double (5^27 < 2^64).
constexpr int kExactPowers = 27;
// Decimal orders (value < 10^order) outside which a value cannot be a double
// or a long double: below 10^-330 it rounds to 0 as a double (the smallest
// subnormal is 4.9e-324); from 10^4933 up it exceeds long double (1.19e4932).
constexpr std::int64_t kZeroOrder = -330;
constexpr std::int64_t kLongDoubleOrder = 4933;
// Enough significant digits to decide the rounding of any decimal to double:
// a midpoint between two adjacent doubles has at most 767 of them.
constexpr std::int64_t kDecidingDigits = 800;

// A quoted text longer than this many code points shows only its two ends,
// so that the error box stays within the screen whatever was typed.
constexpr qsizetype kQuotedWhole = 81;
constexpr qsizetype kQuotedEnd = 40;

/// `text` as quoted in a message: whole up to 81 code points, else its first
/// and last 40 code points joined by U+2026. Counts code points, so a
/// surrogate pair is never split; an unpaired surrogate counts as one.
QString QuotedText(const QString& text) {
  const QStringView view(text);
  const auto widthAt = [&view](qsizetype i) -> qsizetype {
    return view[i].isHighSurrogate() && i + 1 < view.size() && view[i + 1].isLowSurrogate() ? 2 : 1;
  };
  qsizetype end = 0;     // UTF-16 units of the code points counted so far
  qsizetype points = 0;  // counted up to one past kQuotedWhole
  qsizetype head = 0;    // UTF-16 units of the first kQuotedEnd code points
  while (end < view.size() && points <= kQuotedWhole) {
    end += widthAt(end);
    if (++points == kQuotedEnd)
      head = end;
  }
  if (points <= kQuotedWhole)
    return text;
  qsizetype tail = view.size();  // where the last kQuotedEnd code points start
  for (qsizetype n = 0; n < kQuotedEnd; ++n) {
    tail -=
        tail >= 2 && view[tail - 1].isLowSurrogate() && view[tail - 2].isHighSurrogate() ? 2 : 1;
  }
  QString quoted;
  quoted.reserve(head + 1 + (view.size() - tail));
  quoted.append(view.first(head));
  quoted.append(QChar(0x2026));
  quoted.append(view.sliced(tail));
  return quoted;
}

/// The message quoting `text` (see QuotedText) as UTF-8. An unpaired
/// surrogate, which has no UTF-8 form, and U+0000, which would end what(),
/// become U+FFFD.
std::string ConversionMessage(const QString& text) {
  QString quotedText = QuotedText(text);
  quotedText.replace(QChar(0), QChar::ReplacementCharacter);
  QStringEncoder utf8(QStringEncoder::Utf8, QStringConverter::Flag::Stateless);
  const QByteArray quoted = utf8.encode(quotedText);
  std::string message;
  message.reserve(static_cast<std::size_t>(quoted.size()) + 40);
  message += '\'';
  message.append(quoted.constData(), static_cast<std::size_t>(quoted.size()));
  message += "' is not a valid floating point value";
  return message;
}

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}
int DigitValue(QChar c) {
  return c.unicode() - u'0';
}

/// The parts of a text that follows the number syntax.
struct NumberParts {
  bool negative = false;
  QStringView whole;     // digits before the decimal separator
  QStringView fraction;  // digits after it
  int exponent = 0;      // |exponent| < 5000 by the digit limit
};

/// Splits `text` by the syntax: spaces, sign, mantissa (digits, decimal
/// separator, digits; not empty), exponent (E or e, sign, digits while the
/// exponent is below 500), spaces. Nothing when the text does not follow it.
std::optional<NumberParts> Split(QStringView text, QStringView decimal) {
  NumberParts parts;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n && text[i] == u' ')
    ++i;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    parts.negative = text[i] == u'-';
    ++i;
  }
  qsizetype start = i;
  while (i < n && IsDigit(text[i]))
    ++i;
  parts.whole = text.sliced(start, i - start);
  const bool hasSeparator = text.sliced(i).startsWith(decimal);
  if (hasSeparator) {
    i += decimal.size();
    start = i;
    while (i < n && IsDigit(text[i]))
      ++i;
    parts.fraction = text.sliced(start, i - start);
  }
  if (parts.whole.isEmpty() && !hasSeparator)
    return std::nullopt;
  if (i < n && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
      negativeExponent = text[i] == u'-';
      ++i;
    }
    int exponent = 0;
    while (i < n && IsDigit(text[i]) && exponent < kExponentDigitLimit) {
      exponent = exponent * 10 + DigitValue(text[i]);
      ++i;
    }
    parts.exponent = negativeExponent ? -exponent : exponent;
  }
  while (i < n && text[i] == u' ')
    ++i;
  if (i != n)
    return std::nullopt;
  return parts;
}

/// The mantissa digits (whole, then fraction) as one sequence.
class MantissaDigits {
 public:
  explicit MantissaDigits(const NumberParts& parts)
      : whole_(parts.whole), fraction_(parts.fraction) {}
  std::int64_t size() const { return whole_.size() + fraction_.size(); }
  int operator[](std::int64_t i) const {
    return DigitValue(i < whole_.size() ? whole_[i] : fraction_[i - whole_.size()]);
  }

 private:
  QStringView whole_;
  QStringView fraction_;
};

/// 10^k in long double for 0 <= k <= 4932, to within about 9 units in the
/// last place (exact up to 10^27): a table entry for the low five bits times
/// the squared powers of the others.
long double PowerOfTen(std::int64_t k) {
  static constexpr std::array<long double, 32> kLow = {
      1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,  1e7L,  1e8L,  1e9L,  1e10L,
      1e11L, 1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L, 1e21L,
      1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L, 1e28L, 1e29L, 1e30L, 1e31L};
  static constexpr std::array<long double, 8> kHigh = {1e32L,  1e64L,   1e128L,  1e256L,
                                                       1e512L, 1e1024L, 1e2048L, 1e4096L};
  long double power = kLow[k & 31];
  k >>= 5;
  for (std::size_t bit = 0; k != 0; ++bit, k >>= 1) {
    if (k & 1)
      power *= kHigh[bit];
  }
  return power;
}

/// The correctly rounded double of digits × 10^scale, from the first
/// significant digits as an exact decimal text (the rest reduced to one
/// sticky digit); std::from_chars is exact and locale-independent.
double DecidedDouble(const MantissaDigits& digits, std::int64_t first, std::int64_t scale) {
  const std::int64_t significant = digits.size() - first;
  const std::int64_t order = significant + scale;  // value < 10^order
  const std::int64_t taken = std::min(significant, kDecidingDigits);
  std::string text;
  text.reserve(static_cast<std::size_t>(taken) + 16);
  for (std::int64_t i = first; i < first + taken; ++i)
    text.push_back(char('0' + digits[i]));
  scale += significant - taken;
  for (std::int64_t i = first + taken; i < digits.size(); ++i) {
    if (digits[i] != 0) {
      text.push_back('1');
      --scale;
      break;
    }
  }
  text.push_back('e');
  text += std::to_string(scale);
  double value = 0.0;
  const std::from_chars_result read =
      std::from_chars(text.data(), text.data() + text.size(), value);
  if (read.ec == std::errc::result_out_of_range) {
    // Out of range in either direction: the decimal order tells which.
    if (order > 0)
      numeric::ThrowOverflow();
    return 0.0;
  }
  return value;
}

/// The magnitude that `parts` denote, as a double. Throws ConversionError
/// when it exceeds the long double range, FloatingPointError on overflow.
double Magnitude(const NumberParts& parts, const QString& text) {
  const MantissaDigits digits(parts);
  std::int64_t first = 0;
  while (first < digits.size() && digits[first] == 0)
    ++first;
  if (first == digits.size())
    return 0.0;

  // value = (all significant digits) × 10^scale
  //       = (kept digits + dropped tail) × 10^(scale + dropped).
  const std::int64_t significant = digits.size() - first;
  const std::int64_t kept = std::min<std::int64_t>(significant, kMantissaDigits);
  std::uint64_t mantissa = 0;
  for (std::int64_t i = first; i < first + kept; ++i)
    mantissa = mantissa * 10 + digits[i];
  bool tailNonZero = false;
  for (std::int64_t i = first + kept; i < digits.size() && !tailNonZero; ++i) {
    tailNonZero = digits[i] != 0;
  }
  const std::int64_t scale = parts.exponent - std::int64_t{parts.fraction.size()};
  const std::int64_t keptScale = scale + (significant - kept);
  const std::int64_t order = kept + keptScale;  // value < 10^order
  if (order > kLongDoubleOrder)
    throw ConversionError(text);
  if (order < kZeroOrder)
    return 0.0;

  // One rounding when the mantissa and the power are exact, else a handful.
  const long double m = static_cast<long double>(mantissa);
  const long double value = keptScale >= 0 ? m * PowerOfTen(keptScale) : m / PowerOfTen(-keptScale);
  if (std::isinf(value))
    throw ConversionError(text);

  // Storing rounds the long double to the nearer double, which is the double
  // nearest the text unless the text lies across a midpoint between two
  // doubles from the long double. One exact operation errs by half a long
  // double unit, so only a value that is itself the midpoint is in doubt.
  // Otherwise the dropped digits (under 18 units) and the scaling (under 10)
  // err by less than 30 units; 2^-57 of the value is at least 64 units.
  const bool exact = !tailNonZero && keptScale >= -kExactPowers && keptScale <= kExactPowers;
  const long double doubt = exact ? 0.0L : std::ldexp(value, -57);
  constexpr long double kDoubleLimit = 0x1p1024L;  // the next power after DBL_MAX
  const double stored = static_cast<double>(value);
  long double below;
  long double above;
  if (std::isinf(stored)) {
    below = DBL_MAX;
    above = kDoubleLimit;
  } else if (static_cast<long double>(stored) <= value) {
    below = stored;
    above = stored == DBL_MAX ? kDoubleLimit : std::nextafter(stored, HUGE_VAL);
  } else {
    below = std::nextafter(stored, 0.0);
    above = stored;
  }
  const long double midpoint = (below + above) / 2;  // exact: long double has 11 more bits
  if (std::fabs(value - midpoint) > doubt)
    return numeric::Store(value);
  return DecidedDouble(digits, first, scale);
}

QStringView DecimalOf(const Separators& separators) {
  return separators.decimal.isEmpty() ? QStringView(u".") : QStringView(separators.decimal);
}

// ---------------------------------------------------------------------------
// Formatting

// Significant digits shown at most, and digits of the expansion they are cut from.
constexpr int kShownDigits = 15;
constexpr int kExpandedDigits = 18;
constexpr int kMaxDecimals = 18;

/// A non-negative decimal: digits without trailing zeros (none for zero),
/// the first one standing at 10^exponent.
struct RoundedDecimal {
  std::array<char, kShownDigits + 1> digits{};
  int count = 0;
  int exponent = 0;
  char DigitAt(int power) const {
    const int index = exponent - power;
    return index >= 0 && index < count ? digits[index] : '0';
  }
};

/// |value| expanded to 18 significant digits, cut behind 10^-decimals or
/// behind the 15th significant digit, whichever comes first, and rounded
/// half up on the first dropped digit.
RoundedDecimal RoundForDisplay(double value, int decimals) {
  RoundedDecimal result;
  value = std::fabs(value);
  if (value == 0.0)
    return result;
  // "d.ddddddddddddddddde±x": exact, correctly rounded, locale-independent.
  std::array<char, 40> text{};
  const auto written = std::to_chars(text.data(), text.data() + text.size(), value,
                                     std::chars_format::scientific, kExpandedDigits - 1);
  std::array<char, kExpandedDigits> expanded{};
  expanded[0] = text[0];
  std::copy_n(text.data() + 2, kExpandedDigits - 1, expanded.begin() + 1);
  int exponent = 0;
  const char* exponentText = text.data() + kExpandedDigits + 2;  // behind "e"
  if (*exponentText == '+')
    ++exponentText;
  std::from_chars(exponentText, written.ptr, exponent);

  const int keep = std::min(kShownDigits, exponent + decimals + 1);
  if (keep < 0)
    return result;  // even the first dropped digit is a leading zero
  std::copy_n(expanded.begin(), keep, result.digits.begin());
  result.count = keep;
  result.exponent = exponent;
  if (expanded[keep] >= '5') {
    int i = keep - 1;
    while (i >= 0 && result.digits[i] == '9')
      result.digits[i--] = '0';
    if (i >= 0) {
      ++result.digits[i];
    } else {  // carried out of the first digit (or rounded up from nothing): 10^(exponent+1)
      result.digits[0] = '1';
      result.count = 1;
      result.exponent = exponent + 1;
    }
  }
  while (result.count > 0 && result.digits[result.count - 1] == '0')
    --result.count;
  return result;
}

QString ScientificText(bool negative, const RoundedDecimal& r, QStringView decimal) {
  QString text;
  if (negative)
    text += u'-';
  text += QLatin1Char(r.digits[0]);
  if (r.count > 1) {
    text += decimal;
    text += QLatin1StringView(r.digits.data() + 1, r.count - 1);
  }
  text += u'E';
  text += QString::number(r.exponent);
  return text;
}

QString FixedText(bool negative, const RoundedDecimal& r, int decimals,
                  const Separators& separators) {
  QString text;
  if (negative && r.count > 0)
    text += u'-';
  for (int power = std::max(r.exponent, 0); power >= 0; --power) {
    text += QLatin1Char(r.DigitAt(power));
    if (power > 0 && power % 3 == 0)
      text += separators.thousands;
  }
  if (decimals > 0) {
    text += DecimalOf(separators);
    for (int power = -1; power >= -decimals; --power)
      text += QLatin1Char(r.DigitAt(power));
  }
  return text;
}

}  // namespace

Separators SeparatorsOf(const QLocale& locale) {
  Separators separators;
  if (const QString decimal = locale.decimalPoint(); !decimal.isEmpty()) {
    separators.decimal = decimal;
  }
  if (const QString thousands = locale.groupSeparator(); !thousands.isEmpty()) {
    separators.thousands = thousands;
  }
  return separators;
}

ConversionError::ConversionError(const QString& text)
    : std::runtime_error(ConversionMessage(text)) {}

double ReadNumber(const QString& text, const Separators& separators) {
  const std::optional<NumberParts> parts = Split(text, DecimalOf(separators));
  if (!parts)
    throw ConversionError(text);
  const double magnitude = Magnitude(*parts, text);
  return parts->negative ? -magnitude : magnitude;
}

QString FormatProbability(double value, int decimals, const Separators& separators) {
  const QString shown = FormatNumber(value, decimals, separators);
  if (!(value > 0.0 && value < 1.0) || decimals < 1 || decimals > 18)
    return shown;
  const double step = std::pow(10.0, -decimals);
  if (shown == FormatNumber(0.0, decimals, separators))
    return QStringLiteral("< ") + FormatNumber(step, decimals, separators);
  if (shown == FormatNumber(1.0, decimals, separators))
    return QStringLiteral("> ") + FormatNumber(1.0 - step, decimals, separators);
  return shown;
}

QString FormatNumber(double value, int decimals, const Separators& separators) {
  if (std::isnan(value))
    return QStringLiteral("NAN");
  if (std::isinf(value))
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  const RoundedDecimal rounded = RoundForDisplay(value, decimals);
  const bool negative = std::signbit(value);
  if (rounded.count > 0 && rounded.exponent >= kShownDigits) {
    return ScientificText(negative, rounded, DecimalOf(separators));
  }
  return FixedText(negative, rounded, decimals, separators);
}

QString ExactText(double value, const Separators& separators) {
  char digits[64];
  const auto written = std::to_chars(digits, digits + sizeof digits, value);
  QString text = QString::fromLatin1(digits, written.ptr - digits);
  text.replace(QLatin1Char('.'), DecimalOf(separators).toString());
  return text;
}

}  // namespace text
