// kelvane-cli invert run as a user runs it, on faults made from a known
// stress: the answer comes from that stress and the Mohr circle, not from the
// inversion's code.
//
// Data with an exact answer: in the tensor scaled to s1 = 1, s3 = -1 (s2 =
// 2 Phi - 1), the planes through three points (sigma, tau0) of the Mohr
// diagram, of equal shear tau0, each point four planes (the signs of its
// direction cosines). Their slips, by the forward model, are fitted exactly
// by S / tau0, so the linear method returns the stress itself.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_run.h"
#include "tables/csv.h"
#include "test_names.h"

namespace {

using cli_run::CliRun;
using cli_run::RunCli;

constexpr double kDegree = M_PI / 180.0;

struct Vec {
  double x, y, z;
};
Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator*(double k, Vec a) {
  return {k * a.x, k * a.y, k * a.z};
}
double Dot(Vec a, Vec b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec Cross(Vec a, Vec b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec Unit(Vec a) {
  return (1.0 / std::sqrt(Dot(a, a))) * a;
}
/// The line of `trend` and `plunge` (degrees, plunge down) as a vector.
Vec Line(double trend, double plunge) {
  return {std::sin(trend * kDegree) * std::cos(plunge * kDegree),
          std::cos(trend * kDegree) * std::cos(plunge * kDegree), -std::sin(plunge * kDegree)};
}
double Azimuth(Vec v) {
  return std::fmod(std::atan2(v.x, v.y) / kDegree + 360.0, 360.0);
}
/// Angle between two azimuths, degrees.
double AzimuthGap(double a, double b) {
  return std::fabs(std::remainder(a - b, 360.0));
}

/// A stress with the Mohr points of its data.
struct KnownStress {
  const char* name;
  double s1Trend, s1Plunge;
  double s3Trend, s3Plunge;  ///< made perpendicular to s1 for the s3 axis
  double phi;
};

constexpr double kTau = 0.8;
constexpr std::array<double, 3> kSigmas = {-0.4, 0.0, 0.4};

struct Datum {
  double dipDirection, dip, rake;
  Vec normal, slip;
  double sigma;  ///< in the scaled tensor; the shear is kTau
};

struct Known {
  std::array<Vec, 3> axes;  ///< s1, s2, s3
  std::vector<Datum> data;
};

Known Make(const KnownStress& k) {
  Known known;
  const Vec a1 = Line(k.s1Trend, k.s1Plunge);
  const Vec b = Line(k.s3Trend, k.s3Plunge);
  const Vec a3 = Unit(b + (-Dot(a1, b)) * a1);
  known.axes = {a1, Cross(a3, a1), a3};
  const std::array<double, 3> s = {1.0, 2.0 * k.phi - 1.0, -1.0};
  for (const double sigma : kSigmas) {
    // The direction cosines of the point (sigma, kTau) of the Mohr diagram.
    std::array<double, 3> l{};
    for (int i = 0; i < 3; ++i) {
      const double p = s[(i + 1) % 3], q = s[(i + 2) % 3];
      l[i] = std::sqrt((kTau * kTau + (sigma - p) * (sigma - q)) / ((s[i] - p) * (s[i] - q)));
    }
    constexpr std::array<std::pair<double, double>, 4> kSigns = {
        std::pair{1.0, 1.0}, std::pair{1.0, -1.0}, std::pair{-1.0, 1.0}, std::pair{-1.0, -1.0}};
    for (const auto& [sign2, sign3] : kSigns) {
      Vec n = l[0] * a1 + (sign2 * l[1]) * known.axes[1] + (sign3 * l[2]) * a3;
      if (n.z < 0.0)
        n = -1.0 * n;
      Vec traction{0, 0, 0};
      for (int i = 0; i < 3; ++i)
        traction = traction + (s[i] * Dot(known.axes[i], n)) * known.axes[i];
      const Vec slip = Unit(traction + (-Dot(traction, n)) * n);
      Datum d{Azimuth(n), std::acos(n.z) / kDegree, 0.0, n, -1.0 * slip, sigma};
      const double strike = (d.dipDirection - 90.0) * kDegree;
      const Vec along{std::sin(strike), std::cos(strike), 0.0};
      d.rake = std::atan2(Dot(d.slip, Cross(n, along)), Dot(d.slip, along)) / kDegree;
      known.data.push_back(d);
    }
  }
  return known;
}

std::string Text(double value) {
  std::string text;
  tables::AppendNumber(text, value);
  return text;
}

/// The nearest of N, E, S, W to `azimuth`.
std::string Letter(double azimuth) {
  return std::string(1, "NESW"[static_cast<int>(std::lround(azimuth / 90.0)) % 4]);
}

/// The data in one of the four notations, as other tools write them.
std::string FileOf(const std::vector<Datum>& data, int notation) {
  const char* headers[] = {"# strike dip rake\n", "dip_direction;dip;rake\r\n",
                           "id\tdip_direction\tdip\ttrend\tplunge\tsense\n",
                           "strike,dip,rake,sense\n"};
  std::string text = headers[notation];
  int row = 0;
  for (const Datum& d : data) {
    const double strike = d.dipDirection - 90.0;
    const Vec down = d.slip.z > 0.0 ? -1.0 * d.slip : d.slip;
    const char* sense = d.slip.z > 0.0 ? "R" : "N";
    if (notation == 0) {
      text +=
          Text(std::fmod(strike + 360.0, 360.0)) + "  " + Text(d.dip) + " " + Text(d.rake) + "\n";
    } else if (notation == 1) {
      text += Text(d.dipDirection) + ";" + Text(d.dip) + ";" + Text(d.rake) + "\r\n";
    } else if (notation == 2) {
      (text += 'f') += std::to_string(++row);
      for (const double value :
           {d.dipDirection, d.dip, Azimuth(down), std::asin(-down.z) / kDegree})
        (text += '\t') += Text(value);
      ((text += '\t') += sense) += '\n';
    } else {
      // Strike either way round (the dip's quadrant picks the side); the
      // pitch down from the end of the strike line nearer the striae.
      const double written = row++ % 2 == 0 ? strike : strike + 180.0;
      const Vec end{std::sin(strike * kDegree), std::cos(strike * kDegree), 0.0};
      const bool fromStrike = Dot(down, end) >= 0.0;
      const double pitch = std::acos(std::fabs(Dot(down, end))) / kDegree;
      text += Text(std::fmod(written + 360.0, 360.0)) + "," + Text(d.dip) + Letter(d.dipDirection) +
              "," + Text(pitch) + Letter(std::fmod(strike + (fromStrike ? 360.0 : 180.0), 360.0)) +
              "," + sense + "\n";
    }
  }
  return text;
}

/// The header's names and the row's fields of a run's output.
std::map<std::string, std::string> Fields(const std::string& out) {
  tables::CsvSplitter names, values;
  const std::size_t end = out.find('\n');
  EXPECT_TRUE(end != std::string::npos && names.Split(std::string_view(out).substr(0, end)) &&
              values.Split(std::string_view(out).substr(end + 1, out.size() - end - 2)))
      << out;
  std::map<std::string, std::string> fields;
  EXPECT_EQ(names.Fields().size(), values.Fields().size()) << out;
  for (std::size_t i = 0; i < names.Fields().size() && i < values.Fields().size(); ++i)
    fields[std::string(names.Fields()[i])] = std::string(values.Fields()[i]);
  return fields;
}

double Number(const std::string& text) {
  double value = std::nan("");
  const auto read = std::from_chars(text.data(), text.data() + text.size(), value);
  EXPECT_TRUE(read.ec == std::errc() && read.ptr == text.data() + text.size()) << text;
  return value;
}

// Tolerances: the angles are written to the last bit; the program's trig and
// normal equations (condition well below 1e3 for twelve planes of three
// orientations' families) lose about 1e-13 of the tensor, and the axes move
// by that over the gap of the principal values (0.5 and more): about 1e-11
// degrees. 1e-8 leaves room and still catches any real slip of an axis.
constexpr double kAngleTolerance = 1e-8;
constexpr double kRatioTolerance = 1e-10;

/// The instability of a plane at Mohr point (sigma, tau) under friction mu.
double Instability(double sigma, double tau, double mu) {
  return (tau - mu * (sigma - 1.0)) / (mu + std::sqrt(1.0 + mu * mu));
}

class InvertKnown : public ::testing::TestWithParam<KnownStress> {};

// Each notation gives the known stress; the linear and the iterative method
// agree on faults, and automatic friction picks the mu whose mean
// instability over the Mohr points is largest.
TEST_P(InvertKnown, EveryNotationRecoversTheStress) {
  const KnownStress& k = GetParam();
  const Known known = Make(k);
  double bestMu = 0.0, bestMean = -1.0;
  for (int step = 0; step <= 16; ++step) {
    const double mu = 0.2 + 0.05 * step;
    double mean = 0.0;
    for (const Datum& d : known.data)
      mean += Instability(d.sigma, kTau, mu) / static_cast<double>(known.data.size());
    ASSERT_GT(std::fabs(mean - bestMean), 1e-9) << "two frictions tie";
    if (mean > bestMean)
      bestMu = mu, bestMean = mean;
  }
  const char* notes[] = {"kelvane-cli: in.csv: columns named by the comment on line 1\n", "", "",
                         ""};
  for (const char* method : {"linear", "iterative"}) {
    for (int notation = 0; notation < 4; ++notation) {
      SCOPED_TRACE(std::string(method) + " notation " + std::to_string(notation));
      const CliRun run = RunCli(std::string("invert --method ") + method + " in.csv",
                                FileOf(known.data, notation));
      ASSERT_EQ(run.status, 0) << run.err;
      EXPECT_EQ(run.err, notes[notation]);
      auto f = Fields(run.out);
      EXPECT_EQ(f.size(), 13u);
      EXPECT_EQ(f["method"], method);
      EXPECT_EQ(f["faults"], "12");
      EXPECT_NEAR(Number(f["friction"]), bestMu, 1e-12);
      EXPECT_NEAR(Number(f["instability_mean"]), bestMean, 1e-12);
      EXPECT_NEAR(Number(f["stress_ratio"]), k.phi, kRatioTolerance);
      for (int i = 0; i < 3; ++i) {
        const std::string axis = std::array{"s1", "s2", "s3"}[i];
        const Vec down = known.axes[i].z > 0.0 ? -1.0 * known.axes[i] : known.axes[i];
        EXPECT_LT(AzimuthGap(Number(f[axis + "_azimuth"]), Azimuth(down)), kAngleTolerance) << axis;
        EXPECT_NEAR(Number(f[axis + "_dip"]), std::asin(-down.z) / kDegree, kAngleTolerance);
      }
      EXPECT_LT(Number(f["misfit_mean"]), kAngleTolerance);
      EXPECT_LT(Number(f["misfit_median"]), kAngleTolerance);
    }
  }
}

// Each datum's fit: its plane and rake as read, no misfit, and the
// instability of its Mohr point; the id is the line without an id column.
TEST_P(InvertKnown, PerFaultFitsAreTheMohrPoints) {
  const Known known = Make(GetParam());
  const std::filesystem::path dir = cli_run::TestFolder();
  std::string text = FileOf(known.data, 1);
  text.insert(text.find('\n') + 1, "1;2\r\n");
  std::ofstream(dir / "in.csv", std::ios::binary) << text;
  const CliRun run = cli_run::RunCliIn(dir, "invert --friction 0.6 --per-fault fits.csv in.csv");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "kelvane-cli: in.csv:2: rake is missing\n");
  const std::string fits = cli_run::ReadAll(dir / "fits.csv");
  std::filesystem::remove_all(dir);
  std::istringstream lines(fits);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "id,dip_direction,dip,rake,misfit,instability,plane");
  tables::CsvSplitter splitter;
  for (std::size_t i = 0; i < known.data.size(); ++i) {
    const Datum& d = known.data[i];
    ASSERT_TRUE(std::getline(lines, line) && splitter.Split(line) && splitter.Fields().size() == 7);
    const auto field = [&](int k) { return Number(std::string(splitter.Fields()[k])); };
    EXPECT_EQ(splitter.Fields()[0], std::to_string(i + 3));  // after the header and bad row
    EXPECT_LT(AzimuthGap(field(1), d.dipDirection), 1e-9);
    EXPECT_NEAR(field(2), d.dip, 1e-9);
    EXPECT_LT(AzimuthGap(field(3), d.rake), 1e-9);
    EXPECT_LT(field(4), kAngleTolerance);
    EXPECT_NEAR(field(5), Instability(d.sigma, kTau, 0.6), 1e-10);
    EXPECT_EQ(splitter.Fields()[6], "1");
  }
  EXPECT_FALSE(std::getline(lines, line));
}

// The full tensor of --magnitudes, read back by `tensors`: s1 and s3 as given,
// s2 = s3 + Phi (s1 - s3), the same axes.
TEST_P(InvertKnown, MagnitudesGiveTheTensorOfTheAxes) {
  const Known known = Make(GetParam());
  const CliRun run = RunCli("invert --magnitudes 60,25 in.csv", FileOf(known.data, 1));
  ASSERT_EQ(run.status, 0) << run.err;
  auto f = Fields(run.out);
  std::string tensor = "sx,sy,sz,txy,tyz,tzx\n";
  for (const char* name : {"sx", "sy", "sz", "txy", "tyz"})
    tensor += f[name] + ",";
  tensor += f["tzx"] + "\n";
  const CliRun back = RunCli("tensors in.csv", tensor);
  ASSERT_EQ(back.status, 0) << back.err;
  auto t = Fields(back.out);
  // The tensor's components are sums of 60-sized terms: 1e-13 of them.
  EXPECT_NEAR(Number(t["s1"]), 60.0, 1e-12);
  EXPECT_NEAR(Number(t["s2"]), 25.0 + Number(f["stress_ratio"]) * 35.0, 1e-12);
  EXPECT_NEAR(Number(t["s3"]), 25.0, 1e-12);
  for (const std::string axis : {"s1", "s2", "s3"}) {
    EXPECT_LT(AzimuthGap(Number(t[axis + "_azimuth"]), Number(f[axis + "_azimuth"])), 1e-9);
    EXPECT_NEAR(Number(t[axis + "_dip"]), Number(f[axis + "_dip"]), 1e-9);
  }
}

const KnownStress kKnown[] = {
    {"thrust", 100, 10, 20, 75, 0.25},
    {"normal", 200, 70, 300, 10, 0.5},
    {"strike slip", 40, 20, 140, 15, 0.4},
    {"oblique", 320, 45, 70, 20, 0.75},
};
INSTANTIATE_TEST_SUITE_P(Stresses, InvertKnown, ::testing::ValuesIn(kKnown), test_names::RowName());

// Noisy mechanisms: the bootstrap's bytes do not depend on the threads, do
// depend on the seed, and its interval holds the estimate.
TEST(InvertBootstrap, SameBytesOnOneAndTwoThreads) {
  const Known known = Make(kKnown[2]);
  std::mt19937_64 random(33);
  std::uniform_real_distribution<double> noise(-12.0, 12.0);
  std::string text = "strike,dip,rake\n";
  for (int copy = 0; copy < 3; ++copy)
    for (const Datum& d : known.data)
      text += Text(d.dipDirection - 90.0 + noise(random)) + "," +
              Text(std::clamp(d.dip + noise(random), 0.0, 90.0)) + "," +
              Text(d.rake + noise(random)) + "\n";
  const std::string args = "invert --data mechanisms --bootstrap 300 --confidence 90 ";
  const CliRun one = RunCli(args + "--threads 1 in.csv", text);
  const CliRun two = RunCli(args + "--threads 2 in.csv", text);
  const CliRun seeded = RunCli(args + "--seed 2 in.csv", text);
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out, two.out);
  EXPECT_NE(one.out, seeded.out);
  auto f = Fields(one.out);
  EXPECT_EQ(f.size(), 18u);
  EXPECT_LE(Number(f["stress_ratio_low"]), Number(f["stress_ratio"]));
  EXPECT_GE(Number(f["stress_ratio_high"]), Number(f["stress_ratio"]));
  for (const char* cone : {"s1_cone", "s2_cone", "s3_cone"})
    EXPECT_TRUE(Number(f[cone]) > 0.0 && Number(f[cone]) < 90.0) << cone;
}

// A FIFO is refused without being opened: the run ends at once.
TEST(InvertInput, RefusesAFifo) {
  const std::filesystem::path dir = cli_run::TestFolder();
  ASSERT_EQ(::mkfifo((dir / "in.fifo").c_str(), 0600), 0);
  const CliRun run = cli_run::RunCliIn(dir, "invert in.fifo", "timeout 20");
  std::filesystem::remove_all(dir);
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "kelvane-cli: in.fifo: not a regular file\n");
}

struct StatusCase {
  const char* name;
  const char* args;
  std::string input;
  std::string err;
  int status;
};

class InvertStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(InvertStatus, SaysWhyAndEnds) {
  const StatusCase& c = GetParam();
  const CliRun run = RunCli(c.args, c.input);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, c.err);
  EXPECT_EQ(run.status, c.status);
}

const std::string kFour = "strike,dip,rake\n10,30,90\n100,60,-90\n200,45,0\n";

INSTANTIATE_TEST_SUITE_P(
    Refusals, InvertStatus,
    ::testing::Values(
        StatusCase{"too few faults", "invert in.csv", kFour + "300,95,20\n",
                   "kelvane-cli: in.csv:5: dip 95 is outside 0 to 90\n"
                   "kelvane-cli: in.csv: 3 usable faults: an inversion needs at least 4 (three "
                   "angles and the stress ratio)\n",
                   1},
        StatusCase{"parallel planes", "invert in.csv",
                   "strike,dip,rake\n10,30,90\n10,30,-90\n10,30,0\n10,30,45\n10,30,135\n",
                   "kelvane-cli: in.csv: the planes determine no stress: their equations have rank "
                   "2 of 5 (too few distinct orientations, as when all planes are parallel)\n",
                   1},
        StatusCase{"no slip columns", "invert in.csv", "strike,dip,trend\n10,30,40\n",
                   "kelvane-cli: in.csv: no fault-slip columns: a file needs strike (or dip "
                   "direction), dip and rake, or dip direction (or strike), dip, trend, plunge "
                   "and sense\n",
                   2},
        StatusCase{"missing file", "invert none.csv", "",
                   "kelvane-cli: none.csv: No such file or "
                   "directory\n",
                   2},
        StatusCase{"zero friction", "invert --friction 0 in.csv", kFour,
                   "kelvane-cli: --friction takes a number above 0 or auto\n", 2},
        StatusCase{"unknown data", "invert --data planes in.csv", kFour,
                   "kelvane-cli: --data takes faults or mechanisms\n", 2},
        StatusCase{"negative bootstrap", "invert --bootstrap -1 in.csv", kFour,
                   "kelvane-cli: --bootstrap takes a whole number from 0 to 1000000\n", 2},
        StatusCase{"magnitudes unsorted", "invert --magnitudes 1,3 in.csv", kFour,
                   "kelvane-cli: --magnitudes takes two numbers S1,S3 with S1 >= S3\n", 2},
        StatusCase{"friction of planes", "planes --stress 3,2,1,0,0,0 --friction 0.6 in.csv", kFour,
                   "kelvane-cli: --friction is for invert\n", 2},
        StatusCase{"mu for invert", "invert --mu 0.6 in.csv", kFour,
                   "kelvane-cli: invert takes its friction as --friction MU|auto\n", 2}),
    test_names::RowName());

}  // namespace
