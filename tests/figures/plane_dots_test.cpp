// The plane dots' colours and their stamping into an image.

#include "figures/plane_dots.h"

#include <gtest/gtest.h>

#include <QColor>
#include <cmath>
#include <limits>

#include "test_names.h"

namespace figures {
namespace {

struct ColourRow {
  const char* name;
  DotQuantity quantity;
  double value;
  DotRange range;
  const char* colour;
};

class DotColours : public ::testing::TestWithParam<ColourRow> {};

TEST_P(DotColours, AreViridisOnTheRange) {
  const ColourRow& row = GetParam();
  EXPECT_EQ(QColor(DotColour(row.quantity, row.value, row.range)).name().toStdString(), row.colour);
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Table, DotColours,
    ::testing::Values(
        ColourRow{"low_end", DotQuantity::kNormalizedSlipTendency, 0.0, {0, 1}, "#440154"},
        ColourRow{"middle", DotQuantity::kNormalizedSlipTendency, 0.5, {0, 1}, "#21908c"},
        ColourRow{"high_end", DotQuantity::kDilationTendency, 1.0, {0, 1}, "#fde725"},
        ColourRow{"beyond_clamped", DotQuantity::kPorePressureToSlip, 9.0, {-2, 4}, "#fde725"},
        ColourRow{"infinite_factor", DotQuantity::kFactorOfSafety, kInf, {0, 3}, "#fde725"},
        ColourRow{"no_value_grey", DotQuantity::kFactorOfSafety, kNaN, {0, 3}, "#b4b4b4"},
        ColourRow{"uncoloured", DotQuantity::kNone, 0.7, {0, 1}, "#404040"}),
    test_names::RowName{});

// A dot covers the pixels of its disc and no other; dots far outside the
// image, or at no finite place, change nothing.
TEST(StampDots, FillsTheDiscOnlyAndIgnoresFarPoints) {
  QImage image(21, 21, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  StampDots(image, {{10.5, 10.5}, {1e300, 5.0}, {kNaN, 3.0}, {-1e18, -1e18}},
            {0xff0000, 0x00ff00, 0x0000ff, 0xffffff}, 2.0);
  int painted = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      if (qAlpha(pixel) == 0)
        continue;
      ++painted;
      EXPECT_EQ(pixel, 0xffff0000u) << x << "," << y;
      EXPECT_LE((x - 10) * (x - 10) + (y - 10) * (y - 10), 4) << x << "," << y;
    }
  }
  EXPECT_EQ(painted, 13);  // the pixels within 2 of the centre pixel
}

}  // namespace
}  // namespace figures
