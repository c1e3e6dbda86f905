// The plane the net draws for a dip direction and dip of any value.

#include "projection/folded_plane.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <random>

#include "numeric/extended_math.h"
#include "test_names.h"

namespace projection {
namespace {

using test_names::RowName;

constexpr double kTwoTo63 = 9223372036854775808.0;

/// Degrees as the window turns them into radians.
double Rad(double degrees) {
  return static_cast<double>(numeric::DegreesToRadians(degrees));
}

/// The unit normal (sin b sin p, cos b sin p, cos p) of a plane, in long double.
struct Normal {
  long double x, y, z;
};
Normal NormalOf(double b, double p) {
  return {std::sin(static_cast<long double>(b)) * std::sin(static_cast<long double>(p)),
          std::cos(static_cast<long double>(b)) * std::sin(static_cast<long double>(p)),
          std::cos(static_cast<long double>(p))};
}

struct FoldCase {
  const char* name;
  double dipDirection, dip;  // given, radians
  double expectedDipDirection, expectedDip;
  bool exact;  // the given bits come back; otherwise within 1e-13 and whole turns
};
void PrintTo(const FoldCase& c, std::ostream* os) {
  *os << c.name;
}
const FoldCase kFoldCases[] = {
    {"dip in range kept", Rad(16), Rad(33), Rad(16), Rad(33), true},
    {"negative zero dip kept", Rad(16), -0.0, Rad(16), -0.0, true},
    {"vertical kept", Rad(16), Rad(90), Rad(16), Rad(90), true},
    {"vertical beyond a turn kept", Rad(376), Rad(90), Rad(376), Rad(90), true},
    {"dip direction beyond a turn kept", Rad(376), Rad(33), Rad(376), Rad(33), true},
    {"negative dip faces the other way", Rad(196), Rad(-33), Rad(16), Rad(33), false},
    {"dip beyond vertical faces the other way", Rad(16), Rad(147), Rad(196), Rad(33), false},
    {"dip a half turn on is the same plane", Rad(16), Rad(213), Rad(16), Rad(33), false},
    {"dip without sine or cosine kept", Rad(16), -kTwoTo63, Rad(16), -kTwoTo63, true},
    {"dip direction without sine or cosine is horizontal", kTwoTo63, Rad(-33), kTwoTo63, 0.0,
     false},
};

class FoldedPlaneTest : public ::testing::TestWithParam<FoldCase> {};
TEST_P(FoldedPlaneTest, MatchesTable) {
  const FoldCase& c = GetParam();
  const Plane plane = FoldedPlane(c.dipDirection, c.dip);
  if (c.exact) {
    EXPECT_EQ(std::signbit(plane.dip), std::signbit(c.expectedDip));
    EXPECT_EQ(plane.dip, c.expectedDip);
    EXPECT_EQ(plane.dipDirection, c.expectedDipDirection);
    return;
  }
  EXPECT_NEAR(plane.dip, c.expectedDip, 1e-13);
  const double turns = (plane.dipDirection - c.expectedDipDirection) / (2.0 * M_PI);
  EXPECT_NEAR(turns, std::round(turns), 1e-13) << plane.dipDirection;
}
INSTANTIATE_TEST_SUITE_P(Table, FoldedPlaneTest, ::testing::ValuesIn(kFoldCases), RowName());

// Whatever the angles, the folded plane dips 0 to 90 degrees and has the
// given plane's normal up to its sign: the cross product of the two unit
// normals vanishes to the rounding of the angles (a few 1e-16 per radian of
// magnitude, below 1e-13 for angles up to 20 turns).
TEST(FoldedPlaneProperty, KeepsTheNormalUpToItsSign) {
  std::mt19937_64 rng(90210);
  std::uniform_real_distribution<double> dipDirection(-7200.0, 7200.0);
  std::uniform_real_distribution<double> dip(-7200.0, 7200.0);
  for (int i = 0; i < 20000; ++i) {
    const double b = Rad(dipDirection(rng));
    const double p = Rad(dip(rng));
    const Plane plane = FoldedPlane(b, p);
    ASSERT_GE(plane.dip, 0.0) << b << " " << p;
    ASSERT_LE(plane.dip, M_PI / 2) << b << " " << p;
    const Normal n = NormalOf(b, p);
    const Normal m = NormalOf(plane.dipDirection, plane.dip);
    const long double cross =
        std::hypot(std::hypot(n.y * m.z - n.z * m.y, n.z * m.x - n.x * m.z), n.x * m.y - n.y * m.x);
    ASSERT_LT(cross, 1e-13L) << b << " " << p;
  }
}

}  // namespace
}  // namespace projection
