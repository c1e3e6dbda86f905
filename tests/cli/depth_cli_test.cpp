// kelvane-cli planes at their own depth: each plane's row is the row the
// plane gets under the state built at its depth (its tensor given as
// --stress and its Pp as --pp), to the bit; the local stresses follow; a
// depth outside the profile, or none without --stress, is an error row; and
// the options that do not go together are refused.

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/stress_builders.h"
#include "cli_run.h"
#include "tables/csv.h"
#include "test_names.h"

namespace {

using cli_run::RunCli;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

/// The first `n` comma-separated fields of `line`, joined again.
std::string FirstFields(const std::string& line, int n) {
  std::size_t at = 0;
  for (int k = 0; k < n && at != std::string::npos; ++k)
    at = line.find(',', at + (k == 0 ? 0 : 1));
  return line.substr(0, at);
}

std::string Number(double value) {
  std::string text;
  tables::AppendNumber(text, value);
  return text;
}

TEST(DepthCli, EachPlaneAsUnderTheStateBuiltAtItsDepth) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> direction(0.0, 360.0);
  std::uniform_real_distribution<double> dip(0.0, 90.0);
  const double depths[] = {350.0, 1234.5, 2000.0, 3777.25};
  analysis::DepthProfile gradients;
  gradients.verticalGradient = 25.0;
  gradients.shMaxGradient = 31.5;
  gradients.shMinGradient = 17.0;
  gradients.porePressureGradient = 10.2;
  gradients.shMaxAzimuth = 62.0;
  std::string file = "id,dip_direction,dip,depth\n";
  std::vector<std::string> rows;  // each plane's file row without its depth
  for (int i = 0; i < 24; ++i) {
    // Streams, not "+": g++ 12 warns falsely of overlap on string sums.
    std::ostringstream row;
    row << 'p' << i << ',' << Number(direction(random)) << ',' << Number(dip(random));
    rows.push_back(row.str());
    std::ostringstream line;
    line << row.str() << ',' << Number(depths[i % 4]) << '\n';
    file += line.str();
  }
  const cli_run::CliRun atDepth = RunCli(
      "planes --gradients sv=25,shmax=31.5,shmin=17,pp=10.2,azimuth=62 --phi 31 in.csv", file);
  ASSERT_EQ(atDepth.status, 0) << atDepth.err;
  const std::vector<std::string> got = Lines(atDepth.out);
  ASSERT_EQ(got.size(), rows.size() + 1);
  EXPECT_TRUE(got[0].ends_with(",state,depth,sv,shmax,shmin,pp,error")) << got[0];
  for (int d = 0; d < 4; ++d) {
    gradients.depth = depths[d];
    const analysis::DepthStresses s = analysis::StressesAtDepth(gradients);
    const stress::StressState t =
        analysis::HorizontalTensor(s.sv, s.shMax, s.shMin, gradients.shMaxAzimuth);
    std::ostringstream planes;
    planes << "id,dip_direction,dip\n";
    for (std::size_t i = static_cast<std::size_t>(d); i < rows.size(); i += 4)
      planes << rows[i] << '\n';
    std::ostringstream args;
    args << "planes --stress " << Number(t.sx) << ',' << Number(t.sy) << ',' << Number(t.sz) << ','
         << Number(t.txy) << ',' << Number(t.tyz) << ',' << Number(t.tzx) << " --pp "
         << Number(s.porePressure) << " --phi 31 in.csv";
    const cli_run::CliRun fixed = RunCli(args.str(), planes.str());
    ASSERT_EQ(fixed.status, 0) << fixed.err;
    const std::vector<std::string> want = Lines(fixed.out);
    for (std::size_t k = 1; k < want.size(); ++k) {
      const std::string& row = got[1 + static_cast<std::size_t>(d) + 4 * (k - 1)];
      SCOPED_TRACE(row);
      EXPECT_EQ(FirstFields(row, 19), FirstFields(want[k], 19));
      std::ostringstream local;
      local << ',' << Number(depths[d]) << ',' << Number(s.sv) << ',' << Number(s.shMax) << ','
            << Number(s.shMin) << ',' << Number(s.porePressure) << ',';
      EXPECT_NE(row.find(local.str()), std::string::npos);
    }
  }
}

struct RefusalCase {
  const char* name;
  const char* args;
  const char* input;
  const char* expected;  ///< in standard output, or standard error for status 2
  int status;
};

const char kProfile[] = "depth,sv,shmax,shmin,pp,shmax_azimuth\n1000,25,30,18,10,0\n";
const RefusalCase kRefusals[] = {
    {"a depth outside the gradients", "planes --gradients sv=25,shmax=30,shmin=18,pp=10 in.csv",
     "id,dd,dip,depth\na,10,20,-3\n", "a,,,,,,,,,,,,,,,,,,,,,,,,depth -3 is above the surface\n",
     1},
    {"no depth without a state", "planes --gradients sv=25,shmax=30,shmin=18,pp=10 in.csv",
     "id,dd,dip,depth\na,10,20,\n",
     "a,,,,,,,,,,,,,,,,,,,,,,,,depth is missing (and no --stress for planes without one)\n", 1},
    {"no depth column", "planes --gradients sv=25,shmax=30,shmin=18,pp=10 in.csv",
     "id,dd,dip\na,10,20\n",
     "kelvane-cli: in.csv:1: the planes need a depth column to be assessed at their depth\n", 2},
    {"gradients without pp", "planes --gradients sv=25,shmax=30,shmin=18 in.csv", "",
     "kelvane-cli: --gradients needs pp=G (MPa/km)\n", 2},
    {"a profile and gradients",
     "planes --profile p.csv --gradients sv=1,shmax=1,shmin=1,pp=1 in.csv", "",
     "kelvane-cli: give --profile or --gradients, not both\n", 2},
    {"gradients for tensors", "tensors --gradients sv=1,shmax=1,shmin=1,pp=1 in.csv", "",
     "kelvane-cli: --profile and --gradients are for planes\n", 2},
    {"gradients with odds",
     "planes --gradients sv=1,shmax=1,shmin=1,pp=0.5 --uncertainty pp=uniform:1 in.csv", "",
     "kelvane-cli: planes at their depth take no --case, --realizations or --uncertainty\n", 2},
};

class DepthRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(DepthRefusal, SaysWhy) {
  const RefusalCase& c = GetParam();
  const cli_run::CliRun run = RunCli(c.args, c.input);
  EXPECT_EQ(run.status, c.status) << run.err;
  const std::string& where = c.status == 2 ? run.err : run.out;
  EXPECT_NE(where.find(c.expected), std::string::npos) << where;
}

INSTANTIATE_TEST_SUITE_P(Table, DepthRefusal, ::testing::ValuesIn(kRefusals),
                         test_names::RowName());

TEST(DepthCli, AProfileTableIsReadAndNeverExtrapolated) {
  const std::filesystem::path dir = cli_run::TestFolder();
  std::ofstream(dir / "p.csv") << kProfile << "3000,75,90,54,30,10\n";
  std::ofstream(dir / "in.csv") << "id,dd,dip,depth\na,10,20,2000\nb,10,20,3000.5\n";
  const cli_run::CliRun run = cli_run::RunCliIn(dir, "planes --profile p.csv in.csv");
  std::filesystem::remove_all(dir);
  EXPECT_EQ(run.status, 1);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 3u);
  // Halfway: every stress halfway, the azimuth through North (0).
  EXPECT_NE(lines[1].find(",2000,50,60,36,20,"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("below the table's last row"), std::string::npos) << lines[2];
}

}  // namespace
