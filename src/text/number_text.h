#pragma once
// The text form of every number in the window.
// Both conversions take the separators as arguments and never consult the C
// library's locale, whose decimal point changes once QApplication starts.

#include <QLocale>
#include <QString>
#include <stdexcept>

namespace text {

/// The user's decimal and thousands separators, one character each
/// (some locales use a non-ASCII one, such as U+202F). An empty decimal
/// separator stands for "."; an empty thousands separator groups with nothing.
struct Separators {
  QString decimal = QStringLiteral(".");
  QString thousands = QStringLiteral(",");
};

/// The separators of `locale`; "." and "," where it gives none.
Separators SeparatorsOf(const QLocale& locale);

/// A text that does not denote a number; what() is
/// "'<text>' is not a valid floating point value" quoting the text in UTF-8
/// (an unpaired surrogate shows as U+FFFD): whole up to 81 code points, else
/// its first 40 and last 40 code points joined by "…" (U+2026), so that the
/// message of any text fits an error box on the screen.
class ConversionError : public std::runtime_error {
 public:
  explicit ConversionError(const QString& text);
};

/// The double that `text` denotes: spaces, an optional sign, a mantissa of
/// digits with at most one decimal separator (a lone separator reads as 0),
/// an optional exponent (E or e, a sign, digits taken while the exponent is
/// below 500), spaces. Only the space U+0020 and the ASCII digits count.
/// The result is the double nearest the text's decimal value (ties to even),
/// negated last for "-" (so "-0" is -0.0); a magnitude below the double range
/// becomes a subnormal or 0. Built in long double; a text in doubt between two
/// doubles is decided exactly. Throws ConversionError for any other text (or
/// a value beyond the long double range, about 1.19e4932) and
/// numeric::FloatingPointError("Floating point overflow") when the value does
/// not fit a double. Linear in the length of the text, whatever it holds.
double ReadNumber(const QString& text, const Separators& separators);

/// `value` with `decimals` decimals (clamped to 0..18), thousands grouped, at
/// most 15 significant digits (rounded half up on the first digit dropped from
/// its 18-digit expansion); no sign on a value that rounds to zero; "2.5E15"
/// style from a rounded magnitude of 1e15 up. NaN and infinities, which no
/// text reads as, show "NAN", "INF" and "-INF".
/// With its thousands separators removed, every finite text shown reads back
/// with ReadNumber to within half a unit of its last shown digit (plus the
/// expansion's own rounding), except for the four largest magnitudes,
/// 1.7976931348623151e308 up to DBL_MAX: they round to "1.79769313486232E308",
/// which lies beyond DBL_MAX and reads as "Floating point overflow" (the next
/// smaller double shows "1.79769313486231E308").
QString FormatNumber(double value, int decimals, const Separators& separators);

/// A probability in [0, 1] with `decimals` decimals, as FormatNumber writes
/// it, except that a value above 0 that would show as 0 shows "< 0.001" and
/// one below 1 that would show as 1 shows "> 0.999" (for 3 decimals), so that
/// a rare event is never shown as impossible nor a likely one as certain.
QString FormatProbability(double value, int decimals, const Separators& separators);

/// The shortest text in the user's format that ReadNumber reads back as
/// exactly `value` (finite): the digits of std::to_chars, the decimal
/// separator in place of ".", no grouping ("0.1", "-2.5e+20", "1e-300").
/// For boxes that a builder fills with a computed number.
QString ExactText(double value, const Separators& separators);

}  // namespace text
