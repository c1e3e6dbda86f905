// Case files: a random case written and read back is the same to the bit;
// damaged, foreign and newer files are refused with a message that names
// what and where; unknown keys are listed and ignored.

#include "files/case_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "test_names.h"

namespace files {
namespace {

bool Same(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

Case RandomCase(std::mt19937_64& random) {
  std::uniform_real_distribution<double> any(-1e6, 1e6);
  std::uniform_int_distribution<int> coin(0, 1);
  Case c;
  for (int i = 0; i < engine::kInputCount; ++i) {
    const double v = any(random);
    c.values[i] = coin(random) ? std::optional<double>(v) : std::nullopt;
    c.texts[i] = c.values[i] ? QString::number(v, 'g', 17).toStdString() : "1x";
  }
  c.azimuth = coin(random) ? stress::Azimuth::kClockwiseFromNorth
                           : stress::Azimuth::kCounterClockwiseFromEast;
  c.jointActive = coin(random);
  c.cosinesShown = coin(random);
  c.porePressure = any(random);
  c.porePressureText = QStringLiteral("%1 MPa").arg(c.porePressure).toStdString();
  c.stressUnit = coin(random) ? "MPa" : "";
  c.depth = {true, {"1", "2,5", "3", "4", "5", "6", "7\u00b0"}};
  c.depthInPsi = coin(random);
  c.principal.numbers = {"a", "b", "c", "d", "e", "f", "g"};
  const int planes = std::uniform_int_distribution<int>(0, 50)(random);
  for (int k = 0; k < planes; ++k)
    c.planes.push_back({std::uniform_real_distribution<double>(0, 360)(random),
                        std::uniform_real_distribution<double>(0, 90)(random),
                        coin(random) ? 30.0 : NAN, coin(random) ? any(random) : NAN},
                       coin(random) ? "F\xc3\xa9" + std::to_string(k) : std::string());
  if (coin(random)) {
    c.importReading = tables::PlaneReading{
        '\t',
        false,
        {tables::PlaneColumn::kId, tables::PlaneColumn::kDirection, tables::PlaneColumn::kDip},
        tables::Notation::kStrike,
        ','};
  }
  if (coin(random)) {
    engine::UncertaintySettings u;
    u.seed = random();
    u.realizations = 1234;
    u[engine::Uncertain::kMu] = {engine::Spread::Shape::kNormal, 0.05};
    u[engine::Uncertain::kDip] = {engine::Spread::Shape::kUniform, any(random) * 1e-6 + 1.0};
    c.uncertainty = u;
  }
  c.map = static_cast<engine::MapQuantity>(std::uniform_int_distribution<int>(0, 4)(random));
  c.dotColouring = "p_slip";
  return c;
}

TEST(CaseFile, EveryCaseReadsBackToTheBit) {
  std::mt19937_64 random(20261208);
  for (int n = 0; n < 200; ++n) {
    SCOPED_TRACE(n);
    const Case c = RandomCase(random);
    QStringList unknown;
    const Case r = ReadCase(WriteCase(c), &unknown);
    EXPECT_TRUE(unknown.isEmpty());
    EXPECT_EQ(r.texts, c.texts);
    for (int i = 0; i < engine::kInputCount; ++i)
      ASSERT_TRUE(r.values[i].has_value() == c.values[i].has_value() &&
                  (!c.values[i] || Same(*r.values[i], *c.values[i])));
    EXPECT_EQ(r.azimuth, c.azimuth);
    EXPECT_EQ(r.jointActive, c.jointActive);
    EXPECT_EQ(r.cosinesShown, c.cosinesShown);
    EXPECT_TRUE(Same(r.porePressure, c.porePressure));
    EXPECT_EQ(r.porePressureText, c.porePressureText);
    EXPECT_EQ(r.stressUnit, c.stressUnit);
    EXPECT_EQ(r.depth.numbers, c.depth.numbers);
    EXPECT_EQ(r.depthInPsi, c.depthInPsi);
    EXPECT_EQ(r.principal.numbers, c.principal.numbers);
    ASSERT_EQ(r.planes.size(), c.planes.size());
    for (std::size_t i = 0; i < c.planes.size(); ++i) {
      const engine::Plane& a = c.planes.planes[i];
      const engine::Plane& b = r.planes.planes[i];
      EXPECT_TRUE(Same(a.dipDirection, b.dipDirection) && Same(a.dip, b.dip) &&
                  (std::isnan(a.phi) ? std::isnan(b.phi) : Same(a.phi, b.phi)) &&
                  (std::isnan(a.cohesion) ? std::isnan(b.cohesion) : Same(a.cohesion, b.cohesion)));
      EXPECT_EQ(r.planes.ids[i], c.planes.ids[i]);
    }
    ASSERT_EQ(r.importReading.has_value(), c.importReading.has_value());
    if (c.importReading) {
      EXPECT_EQ(r.importReading->delimiter, '\t');
      EXPECT_EQ(r.importReading->columns, c.importReading->columns);
      EXPECT_EQ(r.importReading->decimal, ',');
    }
    ASSERT_EQ(r.uncertainty.has_value(), c.uncertainty.has_value());
    if (c.uncertainty) {
      EXPECT_EQ(r.uncertainty->seed, c.uncertainty->seed);
      EXPECT_EQ(std::memcmp(r.uncertainty->spreads.data(), c.uncertainty->spreads.data(),
                            sizeof(engine::Spread) * engine::kUncertainCount),
                0);
    }
    EXPECT_EQ(r.map, c.map);
    EXPECT_EQ(r.dotColouring, c.dotColouring);
  }
}

struct DamagedRow {
  const char* name;
  /// Applied to a good case's text: `from` replaced by `to`.
  const char* from;
  const char* to;
  const char* message;
};

const DamagedRow kDamaged[] = {
    {"not JSON", "{", "[", "The file is not a Kelvane case: missing value separator at byte"},
    {"another format", "kelvane-case", "other", "The file is not a Kelvane case: it has no"},
    {"newer version", "\"version\": 1", "\"version\": 2",
     "The case was written in format version 2, by a newer Kelvane; this one reads version 1."},
    {"text where a number goes", "\"version\": 1", "\"version\": \"1\"",
     "In the case, \"version\" should be a number."},
    {"unknown azimuth", "\"azimuth\": \"north\"", "\"azimuth\": \"up\"",
     "In the case, \"azimuth\" is \"up\"; it should be \"north\" or \"east\"."},
    {"missing key", "\"joint_active\": false,", "", "In the case, \"joint_active\" is missing."},
    {"dip out of range", "45,\n                90,", "45,\n                95,",
     "In the case, \"planes.rows[0]\": dip 95 is outside 0 to 90."},
    {"a row of the wrong shape", "\"F1\",", "7,",
     "In the case, \"planes.rows[0]\" should be [id, dip direction, dip, friction angle or null, "
     "cohesion or null]."},
};

class Damaged : public ::testing::TestWithParam<DamagedRow> {};

TEST_P(Damaged, IsRefusedSayingWhatAndWhere) {
  Case good;
  good.planes.push_back({45.0, 90.0}, "F1");
  QByteArray bytes = WriteCase(good);
  ASSERT_TRUE(bytes.contains(GetParam().from)) << bytes.toStdString();
  bytes.replace(GetParam().from, GetParam().to);
  try {
    ReadCase(bytes);
    FAIL() << "read";
  } catch (const CaseError& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, std::strlen(GetParam().message)), GetParam().message);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Damaged, ::testing::ValuesIn(kDamaged), test_names::RowName());

TEST(CaseFile, UnknownKeysAreListedAndIgnored) {
  QByteArray bytes = WriteCase(Case{});
  bytes.replace("\"map\"", "\"colour\": 1, \"map\"");
  bytes.replace("\"typed\": false,", "\"typed\": false, \"extra\": [],");
  QStringList unknown;
  const Case c = ReadCase(bytes, &unknown);
  unknown.sort();
  EXPECT_EQ(unknown.join(QLatin1Char(' ')).toStdString(), "colour depth_builder.extra");
  EXPECT_EQ(c.map, engine::MapQuantity::kNone);
}

}  // namespace
}  // namespace files
