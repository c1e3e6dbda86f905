// Plane files read as the import reads them: detected settings, the exact
// planes, and each skipped or changed row's message.

#include "tables/plane_reader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "test_names.h"

namespace tables {
namespace {

using namespace std::string_literals;

/// A plane as "id dd/dip phi c" with "-" for a value the plane does not give.
std::string Text(const engine::Plane& plane, const std::string& id) {
  const auto number = [](double value) {
    if (std::isnan(value))
      return std::string("-");
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return std::string(text);
  };
  return (id.empty() ? "" : id + " ") + number(plane.dipDirection) + "/" + number(plane.dip) + " " +
         number(plane.phi) + " " + number(plane.cohesion);
}

struct FileRow {
  const char* name;
  std::string text;
  char delimiter;
  char decimal;
  std::vector<std::string> planes;
  std::vector<std::string> messages;
};

class PlaneFiles : public ::testing::TestWithParam<FileRow> {};

TEST_P(PlaneFiles, ReadAsDetected) {
  const FileRow& row = GetParam();
  const PlaneReading reading = DetectReading(row.text);
  EXPECT_EQ(reading.delimiter, row.delimiter);
  EXPECT_EQ(reading.decimal, row.decimal);
  const PlaneImport read = ReadPlanes(row.text, reading);
  std::vector<std::string> planes;
  for (std::size_t i = 0; i < read.set.size(); ++i)
    planes.push_back(Text(read.set.planes[i], std::string(read.set.ids[i])));
  EXPECT_EQ(planes, row.planes);
  EXPECT_EQ(read.messages, row.messages);
  EXPECT_FALSE(read.cancelled);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PlaneFiles,
    ::testing::Values(
        FileRow{"comma_header",
                "id,dip_direction,dip\nF1,120,60\nF2,300.5,15\n",
                ',',
                '.',
                {"F1 120/60 - -", "F2 300.5/15 - -"},
                {}},
        FileRow{"semicolon_decimal_comma",
                "Name;Dip direction;Dip;Friction angle\nA;45,5;30;31,2\n",
                ';',
                ',',
                {"A 45.5/30 31.2 -"},
                {}},
        FileRow{"tab_strike_cohesion",
                "strike\tdip\tc\n10\t80\t2\n300\t45\t\n",
                '\t',
                '.',
                {"100/80 - 2", "30/45 - -"},
                {}},
        FileRow{"blanks_without_header",
                "  120  60\n# a comment\n\n200 90 \n",
                ' ',
                '.',
                {"120/60 - -", "200/90 - -"},
                {}},
        FileRow{"id_without_header",
                "F1 120 60\nF2 10 5\n",
                ' ',
                '.',
                {"F1 120/60 - -", "F2 10/5 - -"},
                {}},
        FileRow{"mu_as_friction", "dd,dip,mu\n0,10,1\n", ',', '.', {"0/10 45 -"}, {}},
        FileRow{"crlf_and_bom",
                "\xEF\xBB\xBF"
                "dipdir,dip\r\n90,45\r\n",
                ',',
                '.',
                {"90/45 - -"},
                {}},
        FileRow{"empty_file", "", ' ', '.', {}, {}},
        FileRow{"bad_rows",
                "dd,dip,phi\n10,95\n20,abc\n30\n40,-1\n50,20,91\n60,20,x\n\"70,20\n80,20\n",
                ',',
                '.',
                {"80/20 - -"},
                {"line 2: dip 95 is outside 0 to 90", "line 3: dip 'abc' is not a number",
                 "line 4: dip is missing", "line 5: dip -1 is outside 0 to 90",
                 "line 6: phi 91 is outside 0 to 90", "line 7: phi 'x' is not a number",
                 "line 8: a quoted field is not closed"}},
        FileRow{"directions_modulo_360",
                "dd,dip\n400,10\n-30,20\n",
                ',',
                '.',
                {"40/10 - -", "330/20 - -"},
                {"line 2: dip direction 400 is taken as 40",
                 "line 3: dip direction -30 is taken as 330"}},
        // Zero residues come out as 0, never -0, said or not.
        FileRow{
            "directions_without_negative_zero",
            "dd,dip\n-720,10\n-0,20\n-360,30\n360,40\n",
            ',',
            '.',
            {"0/10 - -", "0/20 - -", "0/30 - -", "0/40 - -"},
            {"line 2: dip direction -720 is taken as 0", "line 4: dip direction -360 is taken as 0",
             "line 5: dip direction 360 is taken as 0"}},
        FileRow{"one_sign_only",
                "dd,dip,c\n+-5,10\n5,+-10\n5,10,-+1\n+5,+10,-1\n",
                ',',
                '.',
                {"5/10 - -1"},
                {"line 2: dip direction '+-5' is not a number",
                 "line 3: dip '+-10' is not a number", "line 4: cohesion '-+1' is not a number"}},
        FileRow{"ids_with_control_characters",
                "id;dd;dip\nA\0B;10;20\nA\tB;10;20\nA\x7F;10;20\nA B;10;20\n"s,
                ';',
                '.',
                {"A B 10/20 - -"},
                {"line 2: the id holds the control character U+0000",
                 "line 3: the id holds the control character U+0009",
                 "line 4: the id holds the control character U+007F"}}),
    test_names::RowName{});

// Strike and dip direction name the same plane: the rows agree to the bit.
TEST(PlaneReader, StrikeAndDipDirectionGiveTheSamePlanes) {
  std::mt19937_64 random(24);
  std::uniform_int_distribution<int> sixtyFourths(0, 360 * 64 - 1);
  std::uniform_int_distribution<int> dips(0, 90 * 64);
  std::string byDipDirection = "dip_direction,dip\n";
  std::string byStrike = "strike,dip\n";
  for (int i = 0; i < 20000; ++i) {
    const int dd = sixtyFourths(random);
    const double dip = dips(random) / 64.0;
    const int strike = (dd - 90 * 64 + 360 * 64) % (360 * 64);
    byDipDirection += std::to_string(dd / 64.0) + "," + std::to_string(dip) + "\n";
    byStrike += std::to_string(strike / 64.0) + "," + std::to_string(dip) + "\n";
  }
  const PlaneImport a = ReadPlanes(byDipDirection, DetectReading(byDipDirection));
  const PlaneImport b = ReadPlanes(byStrike, DetectReading(byStrike));
  ASSERT_EQ(a.set.size(), 20000u);
  ASSERT_EQ(b.set.size(), 20000u);
  for (std::size_t i = 0; i < a.set.size(); ++i) {
    ASSERT_EQ(a.set.planes[i].dipDirection, b.set.planes[i].dipDirection) << i;
    ASSERT_EQ(a.set.planes[i].dip, b.set.planes[i].dip) << i;
  }
  EXPECT_TRUE(a.messages.empty());
}

TEST(PlaneReader, CancelStopsEarly) {
  std::string text = "dd,dip\n";
  for (int i = 0; i < 100000; ++i)
    text += "10,20\n";
  const PlaneImport read = ReadPlanes(text, DetectReading(text), [](std::size_t) { return false; });
  EXPECT_TRUE(read.cancelled);
  EXPECT_LT(read.set.size(), 100000u);
}

}  // namespace
}  // namespace tables
