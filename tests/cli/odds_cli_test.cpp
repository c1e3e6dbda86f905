// kelvane-cli planes with slip odds, as properties of its output: a saved
// case gives the rows its options give (its Pp, friction, cohesion, planes
// and uncertainty all taken), --mu the rows of the same friction as --phi,
// the seed changes the draws, and each row's percentiles are in order with
// its probabilities within [0, 1].

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"

namespace {

using cli_run::RunCli;

/// The fields of each line of a CSV text without quoted commas.
std::vector<std::vector<std::string>> Rows(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');)
      fields.push_back(cell);
    if (!line.empty() && line.back() == ',')
      fields.emplace_back();
    rows.push_back(fields);
  }
  return rows;
}

const std::string kPlanes = "id,dip_direction,dip\na,30,60\nb,120,45\nc,250,80\nd,10,5\n";
const std::string kOptions =
    "planes --stress 40,30,60,3,-2,4 --pp 20 --phi 30 --cohesion 0.5 --realizations 500 --seed 7 "
    "--uncertainty pp=uniform:4,s3=normal:2 in.csv";

TEST(OddsCli, ACaseGivesTheRowsOfItsOptions) {
  const std::string study = R"({"format": "kelvane-case", "version": 1, "inputs": {
  "joint_dip_direction": {"value": 0, "text": "0"}, "joint_dip": {"value": 0, "text": "0"},
  "sx": {"value": 40, "text": "40"}, "sy": {"value": 30, "text": "30"},
  "sz": {"value": 60, "text": "60"}, "txy": {"value": 3, "text": "3"},
  "tyz": {"value": -2, "text": "-2"}, "tzx": {"value": 4, "text": "4"},
  "joint_cohesion": {"value": 0.5, "text": "0.5"}, "joint_friction": {"value": 30, "text": "30"}},
 "azimuth": "north", "joint_active": false, "direction_cosines_shown": false,
 "pore_pressure": {"value": 20, "text": "20"}, "stress_unit": "MPa",
 "depth_builder": {"typed": false, "units": "MPa/m", "sv_from_density": false,
                   "texts": ["", "", "", "", "", "", ""]},
 "principal_builder": {"typed": false, "texts": ["", "", "", "", "", "", ""]},
 "planes": {"import": null, "rows": [["a", 30, 60, null, null], ["b", 120, 45, null, null],
                                     ["c", 250, 80, null, null], ["d", 10, 5, null, null]]},
 "uncertainty": {"realizations": 500, "seed": "7",
                 "spreads": {"pp": {"shape": "uniform", "width": 4},
                             "s3": {"shape": "normal", "width": 2}}},
 "map": "none", "dot_colouring": "none"})";
  const cli_run::CliRun fromCase = RunCli("planes --case in.csv", study);
  const cli_run::CliRun fromOptions = RunCli(kOptions, kPlanes);
  ASSERT_EQ(fromOptions.status, 0) << fromOptions.err;
  ASSERT_EQ(fromCase.status, 0) << fromCase.err;
  EXPECT_EQ(fromCase.out, fromOptions.out);
}

TEST(OddsCli, MuIsTheCoefficientOfPhi) {
  std::string withMu = kOptions;
  withMu.replace(withMu.find("--phi 30"), 8, "--mu 0.57735026918962573");
  const cli_run::CliRun phi = RunCli(kOptions, kPlanes);
  const cli_run::CliRun mu = RunCli(withMu, kPlanes);
  ASSERT_EQ(mu.status, 0) << mu.err;
  const auto a = Rows(phi.out);
  const auto b = Rows(mu.out);
  ASSERT_EQ(a.size(), b.size());
  // The friction column aside (atan of the coefficient rounds), every
  // probability is the same.
  const std::size_t pSlip = 19;
  ASSERT_EQ(a[0][pSlip], "p_slip");
  for (std::size_t r = 1; r < a.size(); ++r)
    EXPECT_EQ(a[r][pSlip], b[r][pSlip]) << "row " << r;
}

TEST(OddsCli, TheSeedChangesTheDrawsAndEachRowIsInOrder) {
  std::string other = kOptions;
  other.replace(other.find("--seed 7"), 8, "--seed 8");
  const auto a = Rows(RunCli(kOptions, kPlanes).out);
  const auto b = Rows(RunCli(other, kPlanes).out);
  ASSERT_EQ(a.size(), 5u);
  ASSERT_EQ(a[0][19], "p_slip");
  ASSERT_EQ(a[0][23], "p_open");
  bool anyDiffers = false;
  for (std::size_t r = 1; r < a.size(); ++r) {
    SCOPED_TRACE(r);
    const double p = std::atof(a[r][19].c_str());
    const double p10 = std::atof(a[r][20].c_str());
    const double p50 = std::atof(a[r][21].c_str());
    const double p90 = std::atof(a[r][22].c_str());
    const double open = std::atof(a[r][23].c_str());
    EXPECT_GE(p, 0.0);
    EXPECT_LE(p, 1.0);
    EXPECT_GE(open, 0.0);
    EXPECT_LE(open, 1.0);
    EXPECT_LE(p10, p50);
    EXPECT_LE(p50, p90);
    EXPECT_LT(p10, p90);  // a spread of Pp spreads dPc
    anyDiffers |= a[r][21] != b[r][21];
  }
  EXPECT_TRUE(anyDiffers);
}

// The plane 90/45 under 10,5,6 (sigma 8, tau 2) with Pp 9 +- 0.5 opens in
// every realization and never reaches the line (dPc 4 +- 0.5): each odds
// column in its place.
TEST(OddsCli, ProbabilitiesInTheirColumns) {
  const cli_run::CliRun run = RunCli(
      "planes --stress 10,5,6,0,0,0 --pp 9 --mu 0.6 --cohesion 5 --realizations 1000 "
      "--uncertainty pp=uniform:0.5 in.csv",
      "id,dip_direction,dip\nq,90,45\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto rows = Rows(run.out);
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_EQ(rows[0][19], "p_slip");
  ASSERT_EQ(rows[0][23], "p_open");
  EXPECT_EQ(rows[1][19], "0");
  EXPECT_EQ(rows[1][23], "1");
  EXPECT_GT(std::atof(rows[1][20].c_str()), 3.5);  // dPc P10 above 4 - 0.5
}

}  // namespace
