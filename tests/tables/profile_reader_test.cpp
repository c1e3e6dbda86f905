// Profile tables read as the import reads them: the rows, each skipped row's
// message, the files refused, and random tables written and read back.

#include "tables/profile_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tables/csv.h"
#include "test_names.h"

namespace tables {
namespace {

std::string Text(const analysis::ProfileRow& r) {
  char text[160];
  std::snprintf(text, sizeof text, "%.10g: %.10g %.10g %.10g %.10g %.10g", r.depth, r.sv, r.shMax,
                r.shMin, r.porePressure, r.shMaxAzimuth);
  return text;
}

struct FileRow {
  const char* name;
  std::string text;
  std::vector<std::string> rows;  ///< depth: sv shmax shmin pp azimuth
  std::vector<std::string> messages;
  std::string error;
};

class ProfileFiles : public ::testing::TestWithParam<FileRow> {};

TEST_P(ProfileFiles, Read) {
  const FileRow& file = GetParam();
  const ProfileImport read = ReadProfile(file.text);
  std::vector<std::string> rows;
  for (const analysis::ProfileRow& r : read.rows)
    rows.push_back(Text(r));
  EXPECT_EQ(rows, file.rows);
  EXPECT_EQ(read.messages, file.messages);
  EXPECT_EQ(read.skipped, file.messages.size());
  EXPECT_EQ(read.error, file.error);
}

const std::string kHeader = "depth,sv,shmax,shmin,pp,shmax_azimuth\n";
const std::string kTwoRows = "1000,22,25,16,10,350\n2000,45,50,30,20,10\n";
const std::vector<std::string> kTwoRowsRead = {"1000: 22 25 16 10 350", "2000: 45 50 30 20 10"};

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileFiles,
    ::testing::Values(
        FileRow{"comma_units_and_comments",
                "# Well K-1: MPa, metres\n\ndepth (m),Sv (MPa),SHmax [MPa],Shmin,Pp,SHmax "
                "azimuth (deg)\n1000,22,25,16,10,350\n# a core gap\n2000,45,50,30,20,10\n",
                kTwoRowsRead,
                {},
                ""},
        FileRow{"columns_in_another_order_and_one_more",
                "TVD;Pore pressure;Shmin;SHmax;Overburden;Azimuth;GR\n1000;10;16;25;22;350;80\n",
                {"1000: 22 25 16 10 350"},
                {},
                ""},
        FileRow{"semicolon_and_decimal_comma",
                "depth;sv;shmax;shmin;pp;shmax_azimuth\n1000,5;22,5;25;16;10;350\n",
                {"1000.5: 22.5 25 16 10 350"},
                {},
                ""},
        FileRow{"blanks_under_a_commented_header",
                "# depth sv shmax shmin pp shmax_azimuth\n  1000  22 25 16 10 350\n"
                "2000 45 50 30 20 10  \n",
                kTwoRowsRead,
                {},
                ""},
        FileRow{"crlf_and_bom",
                "\xEF\xBB\xBF"
                "depth,sv,shmax,shmin,pp,shmax_azimuth\r\n1000,22,25,16,10,350\r\n",
                {"1000: 22 25 16 10 350"},
                {},
                ""},
        FileRow{"bad_rows",
                kHeader +
                    "1000,22,25,16,10,350\n1500,x,30,20,15,0\n1600,30,30\n1700,35,20,25,17,0\n"
                    "\"1800,36,40,30,18,0\n2000,45,50,30,20,10\n",
                kTwoRowsRead,
                {"line 3: sv 'x' is not a number", "line 4: shmin is missing",
                 "line 5: shmax 20 is below shmin 25", "line 6: a quoted field is not closed"},
                ""},
        FileRow{"depths_not_increasing",
                kHeader + kTwoRows + "1500,30,35,20,15,0\n",
                {},
                {},
                "line 4: depth 1500 is not below the row before (line 3); depths must increase"},
        FileRow{"a_column_missing",
                "depth,sv,shmax,shmin,pp\n1000,22,25,16,10\n",
                {},
                {},
                "line 1: the header has no column for shmax_azimuth"},
        FileRow{"a_commented_header_missing_a_column",
                "# Well K-1\n\n# depth sv shmax shmin pp\n1000 22 25 16 10\n",
                {},
                {},
                "line 3: the header has no column for shmax_azimuth"},
        FileRow{"a_column_named_twice",
                "depth,sv,shmax,SHmax,shmin,pp,azimuth\n",
                {},
                {},
                "line 1: columns 3 and 4 both name shmax"},
        FileRow{"no_header",
                kTwoRows,
                {},
                {},
                "No header names the columns depth, sv, shmax, shmin, pp, shmax_azimuth"},
        FileRow{"a_comment_that_is_no_header",
                "# Well K-1\n1000 22 25 16 10 350\n",
                {},
                {},
                "No header names the columns depth, sv, shmax, shmin, pp, shmax_azimuth"},
        FileRow{"empty", "", {}, {}, "The file holds no table"},
        FileRow{"every_row_bad",
                kHeader + "1000,22,25\n",
                {},
                {"line 2: shmin is missing"},
                "The file has no row of the profile"}),
    test_names::RowName{});

// Random profiles written with every delimiter, columns in a random order,
// read back to the bit, and taken as a profile.
TEST(ProfileReader, WrittenTablesReadBack) {
  std::mt19937_64 random(39);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const char* const names[] = {"depth", "sv", "shmax", "shmin", "pp", "shmax_azimuth"};
  for (int n = 0; n < 200; ++n) {
    const char delimiter = ",;\t "[n % 4];
    int order[6] = {0, 1, 2, 3, 4, 5};
    std::shuffle(order, order + 6, random);
    std::vector<analysis::ProfileRow> rows;
    double depth = 1000 * unit(random);
    for (int k = 0; k < 50; ++k) {
      depth += 1e-3 + 100 * unit(random);
      const double shMin = 100 * unit(random);
      rows.push_back({depth, 120 * unit(random), shMin + 50 * unit(random), shMin,
                      shMin * unit(random), 720 * unit(random) - 360});
    }
    std::string text;
    for (int c = 0; c < 6; ++c)
      text += std::string(c ? 1 : 0, delimiter) + names[order[c]];
    text += n % 2 ? "\r\n" : "\n";
    for (const analysis::ProfileRow& r : rows) {
      const double values[] = {r.depth, r.sv, r.shMax, r.shMin, r.porePressure, r.shMaxAzimuth};
      for (int c = 0; c < 6; ++c) {
        if (c)
          text += delimiter;
        AppendNumber(text, values[order[c]]);
      }
      text += '\n';
    }
    const ProfileImport read = ReadProfile(text);
    ASSERT_EQ(read.error, "") << n;
    ASSERT_EQ(read.rows.size(), rows.size()) << n;
    for (std::size_t k = 0; k < rows.size(); ++k)
      ASSERT_EQ(std::memcmp(&read.rows[k], &rows[k], sizeof rows[k]), 0) << n << " row " << k;
    EXPECT_TRUE(analysis::StressProfile::FromTable(analysis::UnitSystem::kPsiFoot, read.rows)
                    .profile.has_value());
  }
}

}  // namespace
}  // namespace tables
