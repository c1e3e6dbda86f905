// The painted map: the 0.5 contour runs exactly through the cells whose
// pixel values cross 0.5; the picture's pixels are the scale's colours of
// their values, transparent beyond the net; no quantity, no map.

#include "figures/tendency_map.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/pass.h"
#include "figures/plane_dots.h"

namespace figures {
namespace {

engine::PassResults Pass(const stress::StressState& state, double porePressure) {
  engine::PassInputs inputs = engine::PassInputs::Of(state, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = porePressure;
  return engine::RunPass(inputs);
}

constexpr stress::StressState kNormal{40, 30, 60, 3, -2, 4};

MapRequest Request(engine::MapQuantity quantity) {
  return {quantity, {30.0, 2.0}, {}};
}

TEST(TendencyMap, HalfContourRunsThroughTheCellsThatCrossAHalf) {
  const engine::MapGrid grid = PlotGrid(121, 1.1);
  const TendencyMap map = MakeTendencyMap(
      Pass(kNormal, 20), Request(engine::MapQuantity::kSlipTendency), grid, {}, 1.0);
  ASSERT_FALSE(map.Empty());
  const ContourLevel* half = nullptr;
  for (const ContourLevel& level : map.contours)
    if (level.label == QStringLiteral("0.5"))
      half = &level;
  ASSERT_NE(half, nullptr);
  // The cells (between four pixel centres) that the segments run through...
  const auto at = [&](int i, int j) { return map.values[j * grid.width + i]; };
  std::vector<char> crossed(grid.width * grid.height, 0);
  for (const QLineF& s : half->segments) {
    const QPointF c = s.center();
    const int i = static_cast<int>(std::floor((c.x() - grid.left) / grid.step - 0.5));
    const int j = static_cast<int>(std::floor((grid.top - c.y()) / grid.step - 0.5));
    ASSERT_TRUE(i >= 0 && j >= 0 && i + 1 < grid.width && j + 1 < grid.height);
    const float v[4] = {at(i, j), at(i + 1, j), at(i, j + 1), at(i + 1, j + 1)};
    EXPECT_LE(*std::min_element(v, v + 4), 0.5F);
    EXPECT_GE(*std::max_element(v, v + 4), 0.5F);
    crossed[j * grid.width + i] = 1;
  }
  // ...are every cell of finite values on both sides of 0.5.
  for (int j = 0; j + 1 < grid.height; ++j) {
    for (int i = 0; i + 1 < grid.width; ++i) {
      const float v[4] = {at(i, j), at(i + 1, j), at(i, j + 1), at(i + 1, j + 1)};
      if (!std::all_of(v, v + 4, [](float x) { return std::isfinite(x); }))
        continue;
      const bool straddles =
          *std::min_element(v, v + 4) < 0.5F && *std::max_element(v, v + 4) >= 0.5F;
      EXPECT_EQ(crossed[j * grid.width + i] != 0, straddles) << "cell " << i << ", " << j;
    }
  }
}

TEST(TendencyMap, PixelsTakeTheirValuesColours) {
  const engine::MapGrid grid = PlotGrid(61, 1.1);
  // s3' <= 0: no pixel of Ts/Ts,max has a value, and the legend says why.
  const TendencyMap none = MakeTendencyMap(
      Pass({60, 45, 20, -4, 2, 3}, 25), Request(engine::MapQuantity::kSlipTendency), grid, {}, 1.0);
  EXPECT_EQ(none.undefined, QStringLiteral("no value: s3′ ≤ 0"));
  const TendencyMap td = MakeTendencyMap(
      Pass(kNormal, 20), Request(engine::MapQuantity::kDilationTendency), grid, {}, 1.0);
  EXPECT_TRUE(td.undefined.isEmpty());
  for (int j = 0; j < grid.height; j += 3) {
    for (int i = 0; i < grid.width; i += 3) {
      const bool inside = std::hypot(grid.X(i), grid.Y(j)) <= 1.0;
      const float v = td.values[j * grid.width + i];
      EXPECT_EQ(qAlpha(none.image.pixel(i, j)), inside ? 255 : 0);
      EXPECT_EQ(td.image.pixel(i, j),
                inside ? Viridis(std::round(v * 255.0) / 255.0) | 0xFF000000u : 0u);
    }
  }
  EXPECT_TRUE(MakeTendencyMap(Pass(kNormal, 0), Request(engine::MapQuantity::kNone), grid, {}, 1.0)
                  .Empty());
}

}  // namespace
}  // namespace figures
