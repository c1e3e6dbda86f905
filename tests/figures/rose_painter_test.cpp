// The painted rose: rings at round whole counts; each petal covers its bin's
// azimuths out to its count's share of the radius (or the root of it,
// area-true), and nothing lies where no plane was counted.

#include "figures/rose_painter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <vector>

#include "test_names.h"

namespace figures {
namespace {

struct RingCase {
  const char* name;
  int largest;
  std::vector<int> rings;
};
const RingCase kRingCases[] = {
    {"none without counts", 0, {}},
    {"ones for small counts", 3, {1, 2, 3}},
    {"twos", 7, {2, 4, 6}},                  // 7 / 4 = 1.75
    {"fives rather than 2.5", 10, {5, 10}},  // 10 / 4 = 2.5, no count
    {"twenty-fives", 90, {25, 50, 75}},      // 22.5
    {"thousands", 3200, {1000, 2000, 3000}},
};
class RoseRingsTest : public ::testing::TestWithParam<RingCase> {};
TEST_P(RoseRingsTest, AreRoundWholeCounts) {
  EXPECT_EQ(RoseRings(GetParam().largest), GetParam().rings);
}
INSTANTIATE_TEST_SUITE_P(Table, RoseRingsTest, ::testing::ValuesIn(kRingCases),
                         test_names::RowName());

/// Whether the pixel at `radius` (of the rose's) towards `azimuth` is a
/// petal's blue: clearly more blue than red.
bool Petal(const QImage& image, const QPointF& centre, double radius, double azimuth) {
  const double a = azimuth * M_PI / 180.0;
  const QColor c =
      image.pixelColor(static_cast<int>(std::lround(centre.x() + radius * std::sin(a))),
                       static_cast<int>(std::lround(centre.y() - radius * std::cos(a))));
  return c.blue() > c.red() + 50;
}

class RosePetals : public ::testing::TestWithParam<bool> {};

// Dip directions of 20 planes at 45 degrees and 5 at 205: with bins of 10
// degrees the first petal reaches the rim, the second 5/20 of it (or
// sqrt(5/20) = 1/2 area-true), over 200 to 210 degrees.
TEST_P(RosePetals, ReachTheirCountsShare) {
  const bool areaTrue = GetParam();
  std::vector<analysis::AnglePair> planes(20, {45.0, 30.0});
  planes.insert(planes.end(), 5, {205.0, 60.0});
  const analysis::RoseDiagram rose =
      analysis::BinRose(planes, analysis::Reading::kDipDirectionDip,
                        analysis::RoseOf::kDipDirections, 10.0, areaTrue);
  QImage image(400, 440, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  RoseCircle circle;
  {
    QPainter painter(&image);
    const QRectF box(0, 0, 400, 440);
    circle = RoseCircleIn(painter, box);
    PaintRose(painter, box, rose, QStringLiteral("Dip directions"), 25, {});
  }
  const QPointF centre = circle.centre;
  const double radius = circle.radius;
  ASSERT_GT(radius, 100.0);
  // The long petal to the rim, less its outline and the frame's pixel.
  EXPECT_TRUE(Petal(image, centre, radius - 3.0, 45.0));
  EXPECT_FALSE(Petal(image, centre, radius + 3.0, 45.0));
  // The short petal's tip, to a pixel or two of rounding and outline.
  const double share = areaTrue ? 0.5 : 0.25;
  EXPECT_TRUE(Petal(image, centre, share * radius - 3.0, 205.0));
  EXPECT_FALSE(Petal(image, centre, share * radius + 3.0, 205.0));
  // Its sides: 200 to 210 degrees, tried 3 to 4 degrees either side of
  // each (two pixels or more at 0.8 of its length).
  const double along = 0.8 * share * radius;
  for (const double inside : {203.0, 207.0})
    EXPECT_TRUE(Petal(image, centre, along, inside)) << inside;
  for (const double outside : {196.0, 214.0})
    EXPECT_FALSE(Petal(image, centre, along, outside)) << outside;
  // No petal where no plane dips.
  for (const double azimuth : {0.0, 90.0, 135.0, 270.0, 315.0})
    EXPECT_FALSE(Petal(image, centre, radius / 2.0, azimuth)) << azimuth;
}

INSTANTIATE_TEST_SUITE_P(Lengths, RosePetals, ::testing::Values(false, true));

}  // namespace
}  // namespace figures
