// The map's value at a pole against the plane with that pole assessed as the
// joint is (AssessPlanes), over the quantities and a normal, a strike-slip
// and a reverse state (one with s3' <= 0); the inverse projection; the
// planes of largest slip tendency.

#include "engine/tendency_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/pass.h"
#include "numeric/extended_math.h"
#include "projection/equal_area.h"
#include "test_names.h"

namespace engine {
namespace {

PassResults Pass(const stress::StressState& state, double porePressure) {
  PassInputs inputs = PassInputs::Of(state, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = porePressure;
  return RunPass(inputs);
}

double Member(MapQuantity quantity, const PlaneResult& r) {
  switch (quantity) {
    case MapQuantity::kSlipTendency:
      return r.tsNormalized;
    case MapQuantity::kDilationTendency:
      return r.td;
    case MapQuantity::kPorePressureToSlip:
      return r.deltaPc;
    case MapQuantity::kFactorOfSafety:
      return r.factorOfSafety;
    case MapQuantity::kNone:
      break;
  }
  return NAN;
}

struct MapRow {
  const char* name;
  stress::StressState state;
  double porePressure;
  MapQuantity quantity;
  bool defined;  ///< whether any pole has a value
};

// Sv the largest (normal), SHmax East the largest with Sv between (strike-slip),
// Sv the least (reverse, with Pp above it); a little shear in each.
constexpr stress::StressState kNormal{40, 30, 60, 3, -2, 4};
constexpr stress::StressState kStrikeSlip{60, 25, 40, 5, 1, -2};
constexpr stress::StressState kReverse{60, 45, 20, -4, 2, 3};

const MapRow kRows[] = {
    {"normal Ts", kNormal, 20, MapQuantity::kSlipTendency, true},
    {"normal Td", kNormal, 20, MapQuantity::kDilationTendency, true},
    {"normal dPc", kNormal, 20, MapQuantity::kPorePressureToSlip, true},
    {"normal F", kNormal, 20, MapQuantity::kFactorOfSafety, true},
    {"strike-slip Ts", kStrikeSlip, 15, MapQuantity::kSlipTendency, true},
    {"strike-slip Td", kStrikeSlip, 15, MapQuantity::kDilationTendency, true},
    {"strike-slip dPc", kStrikeSlip, 15, MapQuantity::kPorePressureToSlip, true},
    {"strike-slip F", kStrikeSlip, 15, MapQuantity::kFactorOfSafety, true},
    {"reverse s3' below 0 Ts", kReverse, 25, MapQuantity::kSlipTendency, false},
    {"reverse s3' below 0 Td", kReverse, 25, MapQuantity::kDilationTendency, true},
    {"reverse s3' below 0 dPc", kReverse, 25, MapQuantity::kPorePressureToSlip, true},
    {"reverse s3' below 0 F", kReverse, 25, MapQuantity::kFactorOfSafety, true},
};

class MapValues : public ::testing::TestWithParam<MapRow> {};

TEST_P(MapValues, EachPoleHasThePlanesValue) {
  const MapRow& row = GetParam();
  const PassResults pass = Pass(row.state, row.porePressure);
  ASSERT_TRUE(CanAssessPlanes(pass));
  const PlaneDefaults defaults{30.0, 2.0};
  const TendencyField field(pass, defaults, row.quantity);
  const PlaneAssessor assess(pass, defaults);
  // Pixel centres of a 41 x 41 grid over the net, as a map samples them.
  const MapGrid grid{41, 41, -1.0, 1.0, 2.0 / 41};
  int valued = 0;
  for (int j = 0; j < grid.height; ++j) {
    for (int i = 0; i < grid.width; ++i) {
      const double x = grid.X(i);
      const double y = grid.Y(j);
      const double value = field.AtNetPoint(x, y);
      if (x * x + y * y > 1.0) {
        EXPECT_TRUE(std::isnan(value));
        continue;
      }
      const double expected = Member(row.quantity, assess(PlaneWithPoleAt(x, y)));
      SCOPED_TRACE("pole " + std::to_string(x) + ", " + std::to_string(y));
      ASSERT_EQ(std::isnan(value), std::isnan(expected)) << value << " vs " << expected;
      if (std::isnan(expected))
        continue;
      ++valued;
      EXPECT_NEAR(value, expected, 1e-9 * std::max(1.0, std::fabs(expected)));
    }
  }
  EXPECT_EQ(valued > 0, row.defined);
}

INSTANTIATE_TEST_SUITE_P(Table, MapValues, ::testing::ValuesIn(kRows), test_names::RowName());

// The inverse of the projection: the plane found for a point has its pole there.
TEST(PoleNormalAt, InvertsThePolesProjection) {
  for (double x = -0.95; x < 1.0; x += 0.1) {
    for (double y = -0.95; y < 1.0; y += 0.1) {
      if (x * x + y * y > 1.0)
        continue;
      const Plane plane = PlaneWithPoleAt(x, y);
      const projection::PolePoint pole = projection::PolePosition(
          static_cast<double>(numeric::DegreesToRadians(plane.dipDirection)),
          static_cast<double>(numeric::DegreesToRadians(plane.dip)));
      EXPECT_NEAR(pole.x, x, 1e-12);
      EXPECT_NEAR(pole.y, y, 1e-12);
      const stress::Vector3 n = PoleNormalAt(x, y);
      EXPECT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0, 1e-15);
      EXPECT_LE(n.z, 0.0);
    }
  }
}

// The marks stand on the planes of Ts/Ts,max = 1 that contain the s2 axis,
// and no pole of the map has a larger value.
TEST(MaxSlipTendencyPoles, MarkThePlanesOfLargestSlipTendency) {
  for (const MapRow& row : kRows) {
    if (row.quantity != MapQuantity::kSlipTendency)
      continue;
    SCOPED_TRACE(row.name);
    const PassResults pass = Pass(row.state, row.porePressure);
    const auto poles = MaxSlipTendencyPoles(pass);
    ASSERT_EQ(poles.has_value(), row.defined);
    if (!poles)
      continue;
    const PlaneAssessor assess(pass, {});
    const TendencyField field(pass, {}, MapQuantity::kSlipTendency);
    for (const NetPoint& pole : *poles) {
      EXPECT_NEAR(assess(PlaneWithPoleAt(pole.x, pole.y)).tsNormalized, 1.0, 1e-9);
      const stress::Vector3 n = PoleNormalAt(pole.x, pole.y);
      const stress::Vector3& a2 = pass.directions[1]->axis;
      EXPECT_NEAR(n.x * a2.x + n.y * a2.y + n.z * a2.z, 0.0, 1e-12);
      for (double x = -1.0; x <= 1.0; x += 0.02) {
        for (double y = -1.0; y <= 1.0; y += 0.02) {
          if (x * x + y * y <= 1.0) {
            ASSERT_LE(field.AtNetPoint(x, y), 1.0 + 1e-12);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace engine
