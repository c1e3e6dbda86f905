#include "text/number_text.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QString>
#include <array>
#include <cfloat>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "numeric/floating_point_error.h"
#include "test_names.h"

namespace text {
namespace {

using test_names::RowName;

const Separators kPointComma{QStringLiteral("."), QStringLiteral(",")};
const Separators kCommaPoint{QStringLiteral(","), QStringLiteral(".")};
const Separators kFrench{QStringLiteral(","), QStringLiteral("\u202F")};

enum class Style { kPointComma, kCommaPoint, kFrench };

const Separators& SeparatorsFor(Style style) {
  switch (style) {
    case Style::kCommaPoint:
      return kCommaPoint;
    case Style::kFrench:
      return kFrench;
    case Style::kPointComma:
      break;
  }
  return kPointComma;
}

std::string MessageFor(const QString& text) {
  return "'" + text.toStdString() + "' is not a valid floating point value";
}

// What ReadNumber did with a text: a value, or the message of its error.
struct Outcome {
  std::optional<double> value;
  std::string conversionError;
  std::string floatingPointError;
};

Outcome Read(const QString& text, const Separators& separators) {
  Outcome outcome;
  try {
    outcome.value = ReadNumber(text, separators);
  } catch (const ConversionError& e) {
    outcome.conversionError = e.what();
  } catch (const numeric::FloatingPointError& e) {
    outcome.floatingPointError = e.what();
  }
  return outcome;
}

// ---------------------------------------------------------------------------
// ReadNumber: texts that read

struct ReadCase {
  const char* name;
  const char* text;  // UTF-8
  Style style;
  double value;
};

const ReadCase kReadCases[] = {
    {"spaces around", " 2 ", Style::kPointComma, 2.0},
    {"many spaces", "     -7.25      ", Style::kPointComma, -7.25},
    {"exponent", "2e1", Style::kPointComma, 20.0},
    {"upper case exponent with sign", "2.5E-3", Style::kPointComma, 0.0025},
    {"plus and lone fraction", "+.5", Style::kPointComma, 0.5},
    {"lone separator", ".", Style::kPointComma, 0.0},
    {"minus lone separator", "-.", Style::kPointComma, -0.0},
    {"lone separator with exponent", ".e7", Style::kPointComma, 0.0},
    {"exponent without digits", "2e", Style::kPointComma, 2.0},
    {"exponent sign without digits", "2e+", Style::kPointComma, 2.0},
    {"exponent minus without digits then space", "2e- ", Style::kPointComma, 2.0},
    {"trailing separator", "5.", Style::kPointComma, 5.0},
    {"three point four exact", "3.4", Style::kPointComma, 3.4},
    {"comma decimal", "3,4", Style::kCommaPoint, 3.4},
    {"comma decimal reads 1,000 as one", "1,000", Style::kCommaPoint, 1.0},
    {"french decimal", "-3,4e2", Style::kFrench, -340.0},
    {"leading zeros", "000000000000000000000000000000012.5", Style::kPointComma, 12.5},
    {"exponent leading zeros are below the limit", "1e0000000000000000000001", Style::kPointComma,
     10.0},
    {"exponent 499", "1e-499", Style::kPointComma, 0.0},
    {"fraction digits scale", "0.000000000000000000000000000000000000001", Style::kPointComma,
     1e-39},
    {"twenty significant digits", "12345678901234567890", Style::kPointComma,
     12345678901234567890.0},
    {"largest double", "1.7976931348623157e308", Style::kPointComma, DBL_MAX},
    {"just below the overflow midpoint", "1.797693134862315807e308", Style::kPointComma, DBL_MAX},
    {"smallest normal", "2.2250738585072014e-308", Style::kPointComma, DBL_MIN},
    {"smallest subnormal", "4.9406564584124654e-324", Style::kPointComma,
     std::numeric_limits<double>::denorm_min()},
    {"rounds up to the smallest subnormal", "2.4703282292062328e-324", Style::kPointComma,
     std::numeric_limits<double>::denorm_min()},
    {"rounds down to zero", "2.4703282292062327e-324", Style::kPointComma, 0.0},
    {"underflow is silent", "1e-400", Style::kPointComma, 0.0},
    {"large value", "1e300", Style::kPointComma, 1e300},
    // Texts that a long double product rounded again to double gets 1 ulp wrong.
    {"double rounding short", "1.557e-9", Style::kPointComma, 1.557e-9},
    {"double rounding nine digits", "6.93291701e-15", Style::kPointComma, 6.93291701e-15},
    {"double rounding seventeen digits", "446131307.33037588", Style::kPointComma,
     446131307.33037588},
    {"double rounding nineteen digits", "0.008604499175065313636", Style::kPointComma,
     0.008604499175065313636},
    // The exact midpoint between 1 and the next double, and texts just beside it.
    {"midpoint ties to even", "1.00000000000000011102230246251565404236316680908203125",
     Style::kPointComma, 1.0},
    {"just above the midpoint",
     "1.00000000000000011102230246251565404236316680908203125000000000000000001",
     Style::kPointComma, 1.0000000000000002},
    {"just below the midpoint", "1.00000000000000011102230246251565404236316680908203124999",
     Style::kPointComma, 1.0},
    // Midpoints whose digits past the 19th are worth nearly a unit of the 19th,
    // so that the 19 digits alone fall 8 to 18 long double units short of the
    // midpoint: the dropped digits decide. The exact expansion of the midpoint
    // ties to even; a digit more or less moves off it.
    {"dropped digits tie up to even", "1.00000000000008959499808725013281218707561492919921875",
     Style::kPointComma, 0x1.0000000000194p+0},
    {"dropped digits just below a midpoint",
     "1.000000000000089594998087250132812187075614929199218749", Style::kPointComma,
     0x1.0000000000193p+0},
    {"dropped digits tie down to even", "1018.35519998083060499993734993040561676025390625",
     Style::kPointComma, 0x1.fd2d7731669a8p+9},
    {"dropped digits just above a midpoint",
     "1018.355199980830604999937349930405616760253906250001", Style::kPointComma,
     0x1.fd2d7731669a9p+9},
    {"dropped integer digits just above a midpoint", "1180591620718180564992.1", Style::kPointComma,
     0x1.0000000000b77p+70},
};

class ReadNumberTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumberTest, ReadsTheNearestDouble) {
  const ReadCase& c = GetParam();
  const double read = ReadNumber(QString::fromUtf8(c.text), SeparatorsFor(c.style));
  EXPECT_EQ(read, c.value);
  EXPECT_EQ(std::signbit(read), std::signbit(c.value));
}

INSTANTIATE_TEST_SUITE_P(Table, ReadNumberTest, ::testing::ValuesIn(kReadCases), RowName());

// ---------------------------------------------------------------------------
// ReadNumber: texts that fail

struct FailCase {
  const char* name;
  const char* text;  // UTF-8
  Style style;
};

const FailCase kFailCases[] = {
    {"empty", "", Style::kPointComma},
    {"only spaces", "   ", Style::kPointComma},
    {"plus alone", "+", Style::kPointComma},
    {"minus alone", "-", Style::kPointComma},
    {"thousands separator", "1,000", Style::kPointComma},
    {"comma with point decimal", "3,4", Style::kPointComma},
    {"point with comma decimal", "3.4", Style::kCommaPoint},
    {"inner space", "1 000", Style::kPointComma},
    {"tab before", "\t1", Style::kPointComma},
    {"tab after", "1\t", Style::kPointComma},
    {"newline after", "1\n", Style::kPointComma},
    {"letter", "1x", Style::kPointComma},
    {"second separator", "1.2.3", Style::kPointComma},
    {"two signs", "+-1", Style::kPointComma},
    {"sign after spaces inside", "- 1", Style::kPointComma},
    {"exponent alone", "e5", Style::kPointComma},
    {"sign then exponent", "-e5", Style::kPointComma},
    {"fractional exponent", "1e2.5", Style::kPointComma},
    {"two exponents", "1e2e3", Style::kPointComma},
    {"digit left over after exponent 500", "1e5000", Style::kPointComma},
    {"digit left over after negative exponent", "1e-49999", Style::kPointComma},
    {"digit left over after exponent minus 500", "1e-5000", Style::kPointComma},
    {"zero with a digit left over after exponent 500", "0e5000", Style::kPointComma},
    {"hexadecimal", "0x10", Style::kPointComma},
    {"infinity word", "inf", Style::kPointComma},
    {"nan word", "nan", Style::kPointComma},
    {"arabic indic digit", "\u0663", Style::kPointComma},
    {"fullwidth digit", "\uFF11", Style::kPointComma},
    {"no break space", "\u00A01", Style::kPointComma},
    {"french group separator", "1\u202F000", Style::kFrench},
    {"just beyond long double", "1.1897314953572318e4932", Style::kPointComma},
    {"beyond long double", "2e4932", Style::kPointComma},
    {"far beyond long double", "-1e4999", Style::kPointComma},
};

class ReadNumberFailTest : public ::testing::TestWithParam<FailCase> {};

TEST_P(ReadNumberFailTest, RaisesTheConversionErrorQuotingTheText) {
  const FailCase& c = GetParam();
  const QString text = QString::fromUtf8(c.text);
  const Outcome outcome = Read(text, SeparatorsFor(c.style));
  EXPECT_FALSE(outcome.value.has_value()) << "read as " << outcome.value.value_or(0.0);
  EXPECT_EQ(outcome.conversionError,
            std::string("'") + c.text + "' is not a valid floating point value");
}

INSTANTIATE_TEST_SUITE_P(Table, ReadNumberFailTest, ::testing::ValuesIn(kFailCases), RowName());

TEST(ReadNumberMessage, QuotesTheWholeTextExactly) {
  EXPECT_EQ(Read(QString(), kPointComma).conversionError, "'' is not a valid floating point value");
  EXPECT_EQ(Read(QStringLiteral("1x"), kPointComma).conversionError,
            "'1x' is not a valid floating point value");
  EXPECT_EQ(Read(QStringLiteral("%1 %s"), kPointComma).conversionError,
            "'%1 %s' is not a valid floating point value");
}

TEST(ReadNumberMessage, ControlCharactersAndSurrogatesFailCleanly) {
  QString withNul = QStringLiteral("12");
  withNul.insert(1, QChar(0));
  EXPECT_EQ(Read(withNul, kPointComma).conversionError,
            "'1\xEF\xBF\xBD"
            "2' is not a valid floating point value");

  QString loneHigh = QStringLiteral("1");
  loneHigh.append(QChar(0xD800));
  EXPECT_EQ(Read(loneHigh, kPointComma).conversionError,
            "'1\xEF\xBF\xBD' is not a valid floating point value");

  QString loneLow = QString(QChar(0xDC00)) + QStringLiteral("5");
  EXPECT_EQ(Read(loneLow, kPointComma).conversionError,
            "'\xEF\xBF\xBD"
            "5' is not a valid floating point value");

  const QString pair = QString::fromUtf8("1\U0001D7D9");  // a mathematical digit one
  EXPECT_EQ(Read(pair, kPointComma).conversionError,
            "'1\U0001D7D9' is not a valid floating point value");
}

// A long text is quoted by its first and last 40 code points around "…".
struct QuoteCase {
  const char* name;
  QString text;
  QString quoted;
};

std::vector<QuoteCase> QuoteCases() {
  const QString emoji = QString::fromUtf8("\U0001F600");  // one code point, two UTF-16 units
  const QString ellipsis(QChar(0x2026));
  QString numbers;  // 8,000 characters with a break point every 6
  for (int n = 10000; numbers.size() < 8000; ++n)
    numbers += QString::number(n) + u' ';
  numbers.truncate(8000);
  return {
      {"81 characters whole", QString(80, u'7') + u'x', QString(80, u'7') + u'x'},
      {"82 characters shortened", QStringLiteral("a") + QString(80, u'7') + QStringLiteral("z"),
       QStringLiteral("a") + QString(39, u'7') + ellipsis + QString(39, u'7') +
           QStringLiteral("z")},
      {"8000 characters of numbers", numbers, numbers.first(40) + ellipsis + numbers.last(40)},
      {"81 pairs count as 81", emoji.repeated(81), emoji.repeated(81)},
      {"82 pairs are never split", emoji.repeated(82),
       emoji.repeated(40) + ellipsis + emoji.repeated(40)},
      {"pair across each cut", QString(39, u'1') + emoji.repeated(4) + QString(39, u'2'),
       QString(39, u'1') + emoji + ellipsis + emoji + QString(39, u'2')},
      {"unpaired surrogates count one each", QString(82, QChar(0xD800)),
       QString(81, QChar::ReplacementCharacter).replace(40, 1, ellipsis)},
  };
}

class ReadNumberQuoteTest : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(ReadNumberQuoteTest, QuotesTheEndsOfALongText) {
  EXPECT_EQ(Read(GetParam().text, kPointComma).conversionError, MessageFor(GetParam().quoted));
}

INSTANTIATE_TEST_SUITE_P(Table, ReadNumberQuoteTest, ::testing::ValuesIn(QuoteCases()), RowName());

// ---------------------------------------------------------------------------
// ReadNumber: values beyond the double range

struct OverflowCase {
  const char* name;
  const char* text;
};

const OverflowCase kOverflowCases[] = {
    {"1e400", "1e400"},
    {"negative", "-1e400"},
    {"exponent 499", "1e499"},
    {"from the fraction", "0.00000000001e320"},
    {"just above the overflow midpoint", "1.7976931348623158079372897140530342e308"},
    {"just above the largest double", "1.8e308"},
    {"near the long double limit", "1.1e4932"},
    {"at the long double limit", "1.1897314953572317e4932"},
    {"many integer digits", "1000000000000000000000000000000000000000e300"},
};

class ReadNumberOverflowTest : public ::testing::TestWithParam<OverflowCase> {};

TEST_P(ReadNumberOverflowTest, RaisesFloatingPointOverflow) {
  const Outcome outcome = Read(QString::fromUtf8(GetParam().text), kPointComma);
  EXPECT_FALSE(outcome.value.has_value()) << "read as " << outcome.value.value_or(0.0);
  EXPECT_EQ(outcome.conversionError, "");
  EXPECT_EQ(outcome.floatingPointError, "Floating point overflow");
}

INSTANTIATE_TEST_SUITE_P(Table, ReadNumberOverflowTest, ::testing::ValuesIn(kOverflowCases),
                         RowName());

// ---------------------------------------------------------------------------
// ReadNumber against an independent parse of the same syntax

// The syntax as a regular expression over UTF-8; the exponent's digit limit,
// which a regular expression cannot count, is checked by hand afterwards.
class ReferenceReader {
 public:
  explicit ReferenceReader(const std::string& decimal)
      : pattern_("^ *([+-]?)([0-9]*)(" + Escaped(decimal) + "([0-9]*))?([eE]([+-]?)([0-9]*))? *$") {
  }

  Outcome Read(const std::string& text) const {
    Outcome outcome;
    std::smatch m;
    if (!std::regex_match(text, m, pattern_) || (m[2].length() == 0 && !m[3].matched)) {
      outcome.conversionError = MessageFor(QString::fromStdString(text));
      return outcome;
    }
    int exponent = 0;
    for (const char digit : m[7].str()) {
      if (exponent >= 500) {  // a digit left over
        outcome.conversionError = MessageFor(QString::fromStdString(text));
        return outcome;
      }
      exponent = exponent * 10 + (digit - '0');
    }
    if (m[6].str() == "-")
      exponent = -exponent;
    const std::string normal = (m[2].length() == 0 ? "0" : m[2].str()) + "." +
                               (m[4].length() == 0 ? "0" : m[4].str()) + "e" +
                               std::to_string(exponent);
    double value = 0.0;
    const auto read = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
      long double wide = 0.0L;
      const auto wideRead = std::from_chars(normal.data(), normal.data() + normal.size(), wide);
      const bool large = exponent > 0;  // every text here has at most a few dozen digits
      if (!large) {
        value = 0.0;
      } else if (wideRead.ec == std::errc::result_out_of_range) {
        outcome.conversionError = MessageFor(QString::fromStdString(text));
        return outcome;
      } else {
        outcome.floatingPointError = "Floating point overflow";
        return outcome;
      }
    }
    outcome.value = m[1].str() == "-" ? -value : value;
    return outcome;
  }

 private:
  static std::string Escaped(const std::string& text) {
    std::string result;
    for (const char c : text) {
      if (std::strchr(".^$|()[]{}*+?\\", c) != nullptr)
        result += '\\';
      result += c;
    }
    return result;
  }
  std::regex pattern_;
};

void ExpectSameOutcome(const Outcome& actual, const Outcome& expected, const std::string& text) {
  ASSERT_EQ(actual.value.has_value(), expected.value.has_value())
      << "text '" << text << "': " << actual.conversionError << actual.floatingPointError
      << " / expected " << expected.conversionError << expected.floatingPointError;
  if (expected.value) {
    EXPECT_EQ(*actual.value, *expected.value) << "text '" << text << "'";
    EXPECT_EQ(std::signbit(*actual.value), std::signbit(*expected.value))
        << "text '" << text << "'";
  }
  EXPECT_EQ(actual.conversionError, expected.conversionError) << "text '" << text << "'";
  EXPECT_EQ(actual.floatingPointError, expected.floatingPointError) << "text '" << text << "'";
}

// Random mixtures of the characters the syntax is made of and of those it
// refuses: about a tenth of them read.
TEST(ReadNumberFuzz, MixedTextsAgreeWithTheReference) {
  static const char* const kPieces[] = {
      "0", "1", "2", "3", "4", "5", "6", "7",  "8", "9", "0", "1",      "5",      "9",
      "9", "+", "-", ".", ",", " ", " ", "\t", "e", "E", "x", "\u0663", "\u202F", "\u00A0"};
  const std::array<Style, 3> styles = {Style::kPointComma, Style::kCommaPoint, Style::kFrench};
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> pieceOf(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> lengthOf(0, 12);
  const ReferenceReader point("."), comma(",");
  int valid = 0;
  constexpr int kTexts = 200000;
  for (int n = 0; n < kTexts; ++n) {
    const Separators& separators = SeparatorsFor(styles[n % styles.size()]);
    const ReferenceReader& reference = separators.decimal == "." ? point : comma;
    std::string text;
    for (int length = lengthOf(random); length > 0; --length)
      text += kPieces[pieceOf(random)];
    const Outcome expected = reference.Read(text);
    valid += expected.value.has_value();
    ExpectSameOutcome(Read(QString::fromStdString(text), separators), expected, text);
    if (HasFailure())
      break;
  }
  std::printf("[ fuzz     ] %d texts, %d read as numbers\n", kTexts, valid);
  EXPECT_GT(valid, kTexts / 20);
}

// Well-formed texts with up to 40 digits and exponents across the double
// range, so that every path of the value computation is exercised.
TEST(ReadNumberFuzz, WellFormedTextsReadAsTheCorrectlyRoundedDouble) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> digitOf(0, 9);
  std::uniform_int_distribution<int> countOf(0, 40);
  std::uniform_int_distribution<int> exponentOf(-360, 330);
  std::bernoulli_distribution coin(0.5);
  const ReferenceReader reference(".");
  int values = 0;
  for (int n = 0; n < 200000; ++n) {
    std::string text = coin(random) ? "-" : "";
    for (int i = countOf(random); i > 0; --i)
      text += char('0' + digitOf(random));
    if (coin(random))
      text += ".";
    for (int i = countOf(random) / 2; i > 0; --i)
      text += char('0' + digitOf(random));
    if (text.find_first_of("0123456789.") == std::string::npos)
      text += "0";
    if (coin(random))
      text += "e" + std::to_string(exponentOf(random));
    const Outcome expected = reference.Read(text);
    ASSERT_EQ(expected.conversionError, "") << text;
    values += expected.value.has_value();
    ExpectSameOutcome(Read(QString::fromStdString(text), kPointComma), expected, text);
    if (HasFailure())
      break;
  }
  EXPECT_GT(values, 150000);
}

// ---------------------------------------------------------------------------
// ReadNumber: long texts finish in linear time

struct LongText {
  const char* name;
  QString text;
  std::optional<double> value;  // nothing: the conversion error
  qsizetype quotedBytes;        // UTF-8 bytes of its two quoted ends and the "…"
};

std::vector<LongText> LongTexts() {
  constexpr qsizetype kMegabyte = 1 << 20;
  const QString ones(kMegabyte, u'1');
  const QString zeros(kMegabyte, u'0');
  const QString midpoint =
      QStringLiteral("1.00000000000000011102230246251565404236316680908203125");
  return {
      {"a megabyte of integer digits", ones, std::nullopt, 83},
      {"a megabyte of fraction digits", QStringLiteral("0.") + ones, 0.1111111111111111, 0},
      {"a megabyte of leading zeros", zeros + QStringLiteral("42"), 42.0, 0},
      {"a tiny fraction", QStringLiteral("0.") + zeros + QStringLiteral("1"), 0.0, 0},
      {"a megabyte of spaces", QString(kMegabyte, u' ') + QStringLiteral("5"), 5.0, 0},
      {"a megabyte decided exactly", midpoint + zeros + QStringLiteral("1"), 1.0000000000000002, 0},
      {"a long exponent of zeros", QStringLiteral("1e") + zeros + QStringLiteral("7"), 1e7, 0},
      {"a long exponent over the limit", QStringLiteral("1e4") + QString(kMegabyte, u'9'),
       std::nullopt, 83},
      {"a megabyte of non-ASCII digits", QString(kMegabyte, QChar(0x0663)), std::nullopt,
       80 * 2 + 3},
      {"a megabyte of surrogates", QString(kMegabyte, QChar(0xD800)), std::nullopt, 80 * 3 + 3},
  };
}

TEST(ReadNumberLongTexts, FinishFastWithTheRightResult) {
  for (const LongText& c : LongTexts()) {
    const auto start = std::chrono::steady_clock::now();
    const Outcome outcome = Read(c.text, kPointComma);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Linear work on a megabyte takes milliseconds; quadratic work would take hours.
    EXPECT_LT(seconds, 1.0) << c.name;
    std::printf("[ timing   ] %-34s %8.2f ms\n", c.name, seconds * 1e3);
    if (c.value) {
      ASSERT_TRUE(outcome.value.has_value()) << c.name << ": " << outcome.conversionError;
      EXPECT_EQ(*outcome.value, *c.value) << c.name;
    } else {
      EXPECT_FALSE(outcome.value.has_value()) << c.name;
      EXPECT_EQ(outcome.conversionError.size(),
                std::size_t(c.quotedBytes) + std::strlen("'' is not a valid floating point value"))
          << c.name;
    }
  }
}

// ---------------------------------------------------------------------------
// FormatNumber

struct FormatCase {
  const char* name;
  double value;
  int decimals;
  Style style;
  const char* text;  // UTF-8
};

const FormatCase kFormatCases[] = {
    {"rounds half up", 8.793646854800205, 3, Style::kPointComma, "8.794"},
    {"groups thousands", 1000000, 3, Style::kPointComma, "1,000,000.000"},
    {"negative grouped", -1234.5, 2, Style::kPointComma, "-1,234.50"},
    {"fills decimals", 283.1, 2, Style::kPointComma, "283.10"},
    {"integer", 360, 2, Style::kPointComma, "360.00"},
    {"stored double above the half", 0.0005, 3, Style::kPointComma, "0.001"},
    {"negative rounds away", -0.0006, 3, Style::kPointComma, "-0.001"},
    {"cut at the 15th digit", 123456789012.345678, 6, Style::kPointComma, "123,456,789,012.346000"},
    {"negative rounding to zero", -0.0000019, 3, Style::kPointComma, "0.000"},
    {"negative zero", -0.0, 6, Style::kPointComma, "0.000000"},
    {"zero", 0.0, 2, Style::kPointComma, "0.00"},
    {"comma decimal", 8.793646854800205, 3, Style::kCommaPoint, "8,794"},
    {"comma decimal grouped", -1234567.5, 2, Style::kCommaPoint, "-1.234.567,50"},
    {"french narrow space", 1234567.891, 3, Style::kFrench, "1\u202F234\u202F567,891"},
    {"carry into a new digit", 9.9996, 3, Style::kPointComma, "10.000"},
    {"carry across groups", 999999.9996, 3, Style::kPointComma, "1,000,000.000"},
    {"carry from nothing", 0.00096, 3, Style::kPointComma, "0.001"},
    {"first dropped digit below five", 0.00049, 3, Style::kPointComma, "0.000"},
    {"tiny positive", 1e-300, 6, Style::kPointComma, "0.000000"},
    {"smallest subnormal", 4.9406564584124654e-324, 2, Style::kPointComma, "0.00"},
    {"no decimals", 1234.5, 0, Style::kPointComma, "1,235"},
    {"negative decimals count as none", 1234.4, -3, Style::kPointComma, "1,234"},
    {"three digit group only", 999.5, 0, Style::kPointComma, "1,000"},
    {"fifteen digits then zeros", 0.1234567890123456789, 18, Style::kPointComma,
     "0.123456789012346000"},
    {"decimals above 18 count as 18", 0.1234567890123456789, 40, Style::kPointComma,
     "0.123456789012346000"},
    {"largest fixed", 999999999999999.0, 2, Style::kPointComma, "999,999,999,999,999.00"},
    {"carry to scientific", 999999999999999.5, 2, Style::kPointComma, "1E15"},
    {"scientific", 2.5e15, 3, Style::kPointComma, "2.5E15"},
    {"scientific one", 1e51, 3, Style::kPointComma, "1E51"},
    {"scientific negative comma", -2.5e15, 3, Style::kCommaPoint, "-2,5E15"},
    {"scientific fifteen digits", 1234567890123456789.0, 2, Style::kPointComma,
     "1.23456789012346E18"},
    {"largest double", DBL_MAX, 6, Style::kPointComma, "1.79769313486232E308"},
    {"negative largest double", -DBL_MAX, 6, Style::kPointComma, "-1.79769313486232E308"},
    {"not a number", std::numeric_limits<double>::quiet_NaN(), 3, Style::kPointComma, "NAN"},
    {"infinity", std::numeric_limits<double>::infinity(), 3, Style::kPointComma, "INF"},
    {"negative infinity", -std::numeric_limits<double>::infinity(), 3, Style::kPointComma, "-INF"},
};

class FormatNumberTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberTest, MatchesTable) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatNumber(c.value, c.decimals, SeparatorsFor(c.style)).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatNumberTest, ::testing::ValuesIn(kFormatCases), RowName());

// A probability is never shown as impossible or certain when it is neither.
const FormatCase kProbabilityCases[] = {
    {"rare but possible", 0.00045, 3, Style::kPointComma, "< 0.001"},
    {"smallest positive", 4.9406564584124654e-324, 3, Style::kPointComma, "< 0.001"},
    {"rounds up to the first step", 0.0005, 3, Style::kPointComma, "0.001"},
    {"impossible", 0.0, 3, Style::kPointComma, "0.000"},
    {"likely but not certain", 0.99955, 3, Style::kPointComma, "> 0.999"},
    {"below the last step", 0.9994, 3, Style::kPointComma, "0.999"},
    {"certain", 1.0, 3, Style::kPointComma, "1.000"},
    {"comma decimal", 0.0002, 3, Style::kCommaPoint, "< 0,001"},
    {"comma decimal near one", 0.99999, 3, Style::kCommaPoint, "> 0,999"},
    {"two decimals", 0.004, 2, Style::kPointComma, "< 0.01"},
    {"not a number", std::numeric_limits<double>::quiet_NaN(), 3, Style::kPointComma, "NAN"},
};

class FormatProbabilityTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatProbabilityTest, MatchesTable) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatProbability(c.value, c.decimals, SeparatorsFor(c.style)).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Table, FormatProbabilityTest, ::testing::ValuesIn(kProbabilityCases),
                         RowName());

// Reading a written number back lands within half a unit of the last place
// kept (the 6th decimal or the 15th significant digit, whichever is coarser),
// plus the 18-digit expansion's own rounding (half a unit of its 18th digit)
// and the reading's (half an ulp).
TEST(FormatNumberRoundTrip, ReadsBackWithinHalfAUnitOfTheLastPlace) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> mantissaOf(1.0, 10.0);
  std::uniform_int_distribution<int> exponentOf(-9, 14);
  std::bernoulli_distribution coin(0.5);
  for (const Style style : {Style::kPointComma, Style::kCommaPoint, Style::kFrench}) {
    const Separators& separators = SeparatorsFor(style);
    for (int n = 0; n < 30000; ++n) {
      const int exponent = exponentOf(random);
      const double x = (coin(random) ? -1 : 1) * mantissaOf(random) * std::pow(10.0, exponent);
      if (std::fabs(x) >= 1e15)
        continue;
      std::array<char, 40> buffer{};
      const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x,
                                         std::chars_format::scientific, 17);
      const int leading = std::atoi(std::strchr(buffer.data(), 'e') + 1);
      ASSERT_LT(written.ptr, buffer.data() + buffer.size());
      const double unit = std::max(1e-6, std::pow(10.0, leading - 14));
      const double tolerance =
          0.5 * unit + 0.5 * std::pow(10.0, leading - 17) + std::fabs(x) * DBL_EPSILON;
      QString text = FormatNumber(x, 6, separators);
      text.remove(separators.thousands);
      const double y = ReadNumber(text, separators);
      ASSERT_NEAR(y, x, tolerance) << text.toStdString();
    }
  }
}

// The largest doubles show a text just beyond DBL_MAX, which reads as an
// overflow; the next smaller double shows one that reads back.
struct TopCase {
  const char* name;
  double value;
  const char* text;
  std::optional<double> readBack;  // nothing: "Floating point overflow"
};

const TopCase kTopCases[] = {
    {"largest double", DBL_MAX, "1.79769313486232E308", std::nullopt},
    {"fourth largest double", 0x1.ffffffffffffcp+1023, "1.79769313486232E308", std::nullopt},
    {"negative largest double", -DBL_MAX, "-1.79769313486232E308", std::nullopt},
    {"fifth largest double", 0x1.ffffffffffffbp+1023, "1.79769313486231E308", 1.79769313486231e308},
};

class FormatNumberTopTest : public ::testing::TestWithParam<TopCase> {};

TEST_P(FormatNumberTopTest, ReadsBackOrOverflows) {
  const TopCase& c = GetParam();
  const QString text = FormatNumber(c.value, 3, kPointComma);
  EXPECT_EQ(text.toStdString(), c.text);
  const Outcome outcome = Read(text, kPointComma);
  EXPECT_EQ(outcome.value, c.readBack);
  EXPECT_EQ(outcome.floatingPointError, c.readBack ? "" : "Floating point overflow");
}

INSTANTIATE_TEST_SUITE_P(Table, FormatNumberTopTest, ::testing::ValuesIn(kTopCases), RowName());

// ---------------------------------------------------------------------------
// Separators and the C library's locale

struct LocaleCase {
  const char* name;
  QLocale locale;
  const char* decimal;    // UTF-8
  const char* thousands;  // UTF-8
  const char* million;    // 1234567.891 with 3 decimals, UTF-8
};

class SeparatorsOfTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(SeparatorsOfTest, TakesTheLocalesSeparators) {
  const LocaleCase& c = GetParam();
  const Separators separators = SeparatorsOf(c.locale);
  EXPECT_EQ(separators.decimal.toStdString(), c.decimal);
  EXPECT_EQ(separators.thousands.toStdString(), c.thousands);
  EXPECT_EQ(FormatNumber(1234567.891, 3, separators).toStdString(), c.million);
  EXPECT_EQ(ReadNumber(QString::fromUtf8(c.decimal) + QStringLiteral("5"), separators), 0.5);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, SeparatorsOfTest,
    ::testing::Values(LocaleCase{"German", QLocale(QLocale::German, QLocale::Germany), ",", ".",
                                 "1.234.567,891"},
                      LocaleCase{"English", QLocale(QLocale::English, QLocale::UnitedStates), ".",
                                 ",", "1,234,567.891"},
                      LocaleCase{"French", QLocale(QLocale::French, QLocale::France), ",", "\u202F",
                                 "1\u202F234\u202F567,891"},
                      LocaleCase{"C", QLocale::c(), ".", ",", "1,234,567.891"}),
    RowName());

TEST(Separators, EmptyDecimalSeparatorStandsForPoint) {
  const Separators bare{QString(), QString()};
  EXPECT_EQ(ReadNumber(QStringLiteral("3.4"), bare), 3.4);
  EXPECT_EQ(FormatNumber(-1234.5, 2, bare).toStdString(), "-1234.50");
}

// The C library's decimal point becomes "," under de_DE; neither conversion
// may notice.
TEST(CLocale, GermanLocaleChangesNothing) {
  const std::vector<QString> texts = {QStringLiteral("3.4"), QStringLiteral("-1.557e-9"),
                                      QStringLiteral("3,4"), QStringLiteral(" 1e-400 ")};
  const std::vector<double> values = {8.793646854800205, -1234.5, 0.0005, 2.5e15, 1e-7};
  std::vector<Outcome> reads;
  std::vector<std::string> written;
  for (const QString& text : texts)
    reads.push_back(Read(text, kPointComma));
  for (const double value : values)
    written.push_back(FormatNumber(value, 3, kPointComma).toStdString());

  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
      << "the de_DE.UTF-8 locale is missing; scripts/install-deps.sh generates it";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  std::vector<Outcome> readsInGerman;
  std::vector<std::string> writtenInGerman;
  for (const QString& text : texts)
    readsInGerman.push_back(Read(text, kPointComma));
  for (const double value : values) {
    writtenInGerman.push_back(FormatNumber(value, 3, kPointComma).toStdString());
  }
  std::setlocale(LC_ALL, previous.c_str());

  for (std::size_t i = 0; i < texts.size(); ++i) {
    ExpectSameOutcome(readsInGerman[i], reads[i], texts[i].toStdString());
  }
  EXPECT_EQ(writtenInGerman, written);
  EXPECT_EQ(written[0], "8.794");
  ASSERT_TRUE(reads[0].value.has_value());
  EXPECT_EQ(*reads[0].value, 3.4);
}

// ExactText reads back as the very double it was made from, in any format,
// and is the shortest such text (no longer than to_chars' own).
TEST(ExactText, ReadsBackToTheSameDoubleUnderEverySeparator) {
  std::mt19937_64 random(25);
  const Separators formats[] = {{QStringLiteral("."), QStringLiteral(",")},
                                {QStringLiteral(","), QStringLiteral(".")},
                                {QStringLiteral(","), QString(QChar(0x202f))}};
  for (int n = 0; n < 20000; ++n) {
    double value = 0.0;
    do {
      const std::uint64_t bits = random();
      std::memcpy(&value, &bits, sizeof value);
    } while (!std::isfinite(value));
    if (n % 4 == 0)
      value = std::ldexp(static_cast<double>(random() % 100000) / 1000.0, 0);  // everyday numbers
    for (const Separators& format : formats) {
      const QString text = ExactText(value, format);
      const double back = ReadNumber(text, format);
      ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text.toStdString();
      ASSERT_FALSE(text.contains(format.thousands)) << text.toStdString();
    }
  }
  EXPECT_EQ(ExactText(0.1, {QStringLiteral(","), QStringLiteral(".")}), QStringLiteral("0,1"));
  EXPECT_EQ(ExactText(-2.5e20, {}), QStringLiteral("-2.5e+20"));
}

}  // namespace
}  // namespace text
