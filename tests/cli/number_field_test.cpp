// The command line's number reading against the window's: for every text,
// the same double bit for bit, or the same message.

#include <gtest/gtest.h>

#include <QString>
#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "cli/number_field.h"
#include "numeric/floating_point_error.h"
#include "text/number_text.h"

namespace {

/// What the window makes of `text`: its double's bits, or its message.
std::string WindowReading(const std::string& text) {
  try {
    const double value = text::ReadNumber(QString::fromStdString(text),
                                          text::Separators{QStringLiteral("."), QString()});
    return "bits " + std::to_string(std::bit_cast<std::uint64_t>(value));
  } catch (const std::exception& error) {
    return error.what();
  }
}

std::string FieldReading(const std::string& text) {
  const cli::NumberField field = cli::ReadNumberField(text);
  return field.value.has_value()
             ? "bits " + std::to_string(std::bit_cast<std::uint64_t>(*field.value))
             : field.error;
}

/// Texts near the syntax, most of them numbers: signs, spaces, leading
/// zeros, long mantissas, ".5" and "5.", and exponents in and around the
/// subnormal range and beyond the double range.
std::string RandomText(std::mt19937_64& random) {
  const auto chance = [&random](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  const auto digits = [&random](int most) {
    std::string d(std::uniform_int_distribution<int>(0, most)(random), '0');
    for (char& c : d)
      c = static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(random));
    return d;
  };
  std::string text;
  if (chance(3))
    text += ' ';
  if (chance(40))
    text += chance(85) ? '-' : '+';
  text += chance(10) ? std::string(std::uniform_int_distribution<int>(1, 3)(random), '0') : "";
  text += digits(chance(5) ? 30 : 8);
  if (chance(70)) {
    text += '.';
    text += digits(chance(5) ? 30 : 17);
  }
  if (chance(50)) {
    text += chance(50) ? 'e' : 'E';
    if (chance(50))
      text += chance(70) ? '-' : '+';
    const int kind = std::uniform_int_distribution<int>(0, 5)(random);
    const int exponent = kind == 0   ? std::uniform_int_distribution<int>(290, 330)(random)
                         : kind == 1 ? std::uniform_int_distribution<int>(300, 320)(random)
                         : kind == 2 ? 400
                                     : std::uniform_int_distribution<int>(0, 40)(random);
    if (chance(2))
      text += '0';  // four digits
    text += std::to_string(exponent);
  }
  if (chance(3))
    text += ' ';
  if (!text.empty() && chance(2))
    text[std::uniform_int_distribution<std::size_t>(0, text.size() - 1)(random)] = 'x';
  return text;
}

struct Row {
  const char* name;
  const char* text;
};

class NumberFieldRows : public ::testing::TestWithParam<Row> {};

TEST_P(NumberFieldRows, ReadsAsTheWindow) {
  EXPECT_EQ(FieldReading(GetParam().text), WindowReading(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Edges, NumberFieldRows,
    ::testing::Values(Row{"plain", "-12.5e3"}, Row{"negative_zero", "-0.000"},
                      Row{"lone_point", "."}, Row{"point_five", ".5"}, Row{"five_point", "5."},
                      Row{"plus", "+1"}, Row{"spaces", " 2 "}, Row{"empty", ""},
                      Row{"overflow", "1e400"}, Row{"beyond_long_double", "1e5000"},
                      Row{"smallest_normal", "2.2250738585072014e-308"},
                      Row{"below_normal", "2.2250738585072011e-308"}, Row{"subnormal", "4.9e-324"},
                      Row{"largest", "1.7976931348623157e308"},
                      Row{"just_above_largest", "1.7976931348623159e308"},
                      Row{"bare_exponent", "1e"}, Row{"comma", "1,5"}, Row{"hex", "0x10"},
                      Row{"inf", "inf"}, Row{"nan", "nan"}),
    [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// Generated texts: the reading agrees everywhere, and the plain path is
// actually taken for most of them.
TEST(NumberField, GeneratedTextsReadAsTheWindow) {
  std::mt19937_64 random(20261207);
  int plain = 0;
  constexpr int kTexts = 200000;
  for (int i = 0; i < kTexts; ++i) {
    const std::string text = RandomText(random);
    plain += cli::ReadPlainDecimal(text).has_value() ? 1 : 0;
    ASSERT_EQ(FieldReading(text), WindowReading(text)) << "text '" << text << "'";
  }
  EXPECT_GT(plain, kTexts / 3);
}

}  // namespace
