// The pass without a window, as a calculator's rows: texts in (read as the
// window reads its boxes), texts out (each field as the window shows it),
// and where a pass stops.

#include "engine/pass.h"

#include <gtest/gtest.h>

#include <QString>
#include <array>
#include <optional>
#include <string>

#include "numeric/floating_point_error.h"
#include "test_names.h"
#include "text/number_text.h"
#include "text/result_rows.h"
#include "text/shown_fields.h"

namespace engine {
namespace {

using stress::Azimuth;
using test_names::RowName;
using text::Field;

const text::Separators kPoint{QStringLiteral("."), QStringLiteral(",")};
const text::Separators kComma{QStringLiteral(","), QStringLiteral(".")};

/// The inputs as the window reads them from `stress` (sx to tzx) and, when
/// given, `joint` (beta, psi, phi, c); a text that is no number stays empty.
PassInputs Read(const std::array<const char*, 6>& stress, Azimuth azimuth,
                const std::optional<std::array<const char*, 4>>& joint,
                const text::Separators& separators) {
  const auto read = [&](const char* typed) -> std::optional<double> {
    try {
      return text::ReadNumber(QString::fromUtf8(typed), separators);
    } catch (const std::exception&) {
      return std::nullopt;
    }
  };
  PassInputs inputs;
  inputs.azimuth = azimuth;
  const Input stressInputs[] = {Input::kSx,  Input::kSy,  Input::kSz,
                                Input::kTxy, Input::kTyz, Input::kTzx};
  for (int i = 0; i < 6; ++i)
    inputs[stressInputs[i]] = read(stress[i]);
  if (joint.has_value()) {
    inputs.jointActive = true;
    inputs[Input::kJointDipDirection] = read((*joint)[0]);
    inputs[Input::kJointDip] = read((*joint)[1]);
    inputs[Input::kJointFriction] = read((*joint)[2]);
    inputs[Input::kJointCohesion] = read((*joint)[3]);
  }
  return inputs;
}

std::string Shown(const PassResults& results, Field field,
                  const text::Separators& separators = kPoint) {
  return text::ShownText(results, field, separators).toStdString();
}

// ---------------------------------------------------------------------------
// Worked states: what every result shows after a complete pass.

struct ShownCase {
  const char* name;
  std::array<const char*, 6> stress;  // sx, sy, sz, txy, tyz, tzx
  bool northClockwise;
  std::array<const char*, 18> shown;  // boxes 1 to 18 of the write order
  bool decimalComma = false;          // typed and shown with a decimal comma
};

const ShownCase kShownCases[] = {
    {"default clockwise from North",
     {"3.4", "1", "8", "1", "-1", "2"},
     true,
     {"8.794", "3.341", "0.266", "283.10", "69.95", "60.78", "15.10", "154.32", "12.88", "0.333929",
      "-0.077687", "0.939391", "0.842622", "0.471273", "-0.260557", "-0.422468", "0.878560",
      "0.222832"}},
    {"default counter-clockwise from East",
     {"3.4", "1", "8", "1", "-1", "2"},
     false,
     {"8.794", "3.341", "0.266", "166.90", "69.95", "29.22", "15.10", "295.68", "12.88", "0.333929",
      "-0.077687", "0.939391", "0.842622", "0.471273", "-0.260557", "-0.422468", "0.878560",
      "0.222832"}},
    {"handedness factor minus one",
     {"4", "3", "2", "-2", "-1", "-2"},
     true,
     {"5.874", "3.514", "-0.388", "119.56", "17.83", "12.24", "42.79", "226.29", "41.83",
      "0.828033", "-0.469655", "-0.306244", "0.155520", "0.717161", "-0.679334", "0.538678",
      "0.514884", "0.666874"}},
    {"handedness factor minus one from East",
     {"4", "3", "2", "-2", "-1", "-2"},
     false,
     {"5.874", "3.514", "-0.388", "330.44", "17.83", "77.76", "42.79", "223.71", "41.83",
      "0.828033", "-0.469655", "-0.306244", "0.155520", "0.717161", "-0.679334", "0.538678",
      "0.514884", "0.666874"}},
    {"axis aligned ascending",
     {"1", "2", "3", "0", "0", "0"},
     true,
     {"3.000", "2.000", "1.000", "180.00", "90.00", "180.00", "0.00", "90.00", "0.00", "0.000000",
      "0.000000", "1.000000", "0.000000", "-1.000000", "0.000000", "1.000000", "0.000000",
      "0.000000"}},
    {"axis aligned descending",
     {"3", "2", "1", "0", "0", "0"},
     false,
     {"3.000", "2.000", "1.000", "0.00", "0.00", "270.00", "0.00", "270.00", "90.00", "-1.000000",
      "0.000000", "0.000000", "0.000000", "-1.000000", "0.000000", "0.000000", "0.000000",
      "1.000000"}},
    {"default scaled by a thousandth",
     {"0.0034", "0.001", "0.008", "0.001", "-0.001", "0.002"},
     true,
     {"0.009", "0.003", "0.000", "283.10", "69.95", "60.78", "15.10", "154.32", "12.88",
      "-0.333929", "0.077687", "-0.939391", "-0.842622", "-0.471273", "0.260557", "-0.422468",
      "0.878560", "0.222832"}},
    // Each column keeps the sign of the candidate the 1e-4 rule picks, however
    // short against the others: candidate 1 of s2 here is 0.01 long against
    // 20 for candidate 2, which points the other way.
    {"short first candidate of s2",
     {"5", "10", "1", "0", "0", "-0.002"},
     true,
     {"10.000", "5.000", "1.000", "0.00", "0.00", "90.00", "0.03", "270.00", "89.97", "0.000000",
      "1.000000", "0.000000", "1.000000", "0.000000", "-0.000500", "0.000500", "0.000000",
      "1.000000"}},
    {"short first candidates of s1 and s3",
     {"-8.1", "0", "17.5", "-13.3", "2.6", "-1.9"},
     true,
     {"18.675", "8.678", "-17.953", "143.56", "69.95", "323.45", "20.05", "53.46", "0.03",
      "-0.203670", "0.275829", "0.939381", "-0.559404", "0.754655", "-0.342874", "-0.803484",
      "-0.595327", "0.000599"}},
    {"near principal state from East",
     {"677", "664", "312", "0.007", "-0.006", "0.001"},
     false,
     {"677.000", "664.000", "312.000", "180.03", "0.00", "90.03", "0.00", "279.13", "90.00",
      "1.000000", "0.000538", "0.000003", "-0.000538", "1.000000", "-0.000017", "-0.000003",
      "0.000017", "1.000000"}},
    // Without shear the axes are exactly the coordinate axes, also for a close
    // pair: a vertical s1 shows azimuth 180.00, a horizontal axis keeps its sign.
    {"no shear close pair vertical s1",
     {"1", "10", "10.05", "0", "0", "0"},
     true,
     {"10.050", "10.000", "1.000", "180.00", "90.00", "180.00", "0.00", "90.00", "0.00", "0.000000",
      "0.000000", "1.000000", "0.000000", "-1.000000", "0.000000", "1.000000", "0.000000",
      "0.000000"}},
    {"no shear close pair s2 along minus x",
     {"10", "1", "10.05", "0", "0", "0"},
     true,
     {"10.050", "10.000", "1.000", "180.00", "90.00", "270.00", "0.00", "0.00", "0.00", "0.000000",
      "0.000000", "1.000000", "-1.000000", "0.000000", "0.000000", "0.000000", "1.000000",
      "0.000000"}},
    {"no shear close pair handedness plus one",
     {"548", "4", "549", "0", "0", "0"},
     true,
     {"549.000", "548.000", "4.000", "180.00", "90.00", "270.00", "0.00", "0.00", "0.00",
      "0.000000", "0.000000", "1.000000", "-1.000000", "0.000000", "0.000000", "0.000000",
      "1.000000", "0.000000"}},
    // Without shear the normal stresses are the values, to the last digit.
    {"no shear values exactly under decimal comma",
     {"2,5e15", "1e15", "-3e16", "0", "0", "0"},
     true,
     {"2,5E15", "1E15", "-3E16", "90,00", "0,00", "180,00", "0,00", "180,00", "90,00", "-1,000000",
      "0,000000", "0,000000", "0,000000", "-1,000000", "0,000000", "0,000000", "0,000000",
      "1,000000"},
     true},
    // An isotropic state completes: s1 along East, s2 along North, s3 vertical.
    {"isotropic",
     {"1", "1", "1", "0", "0", "0"},
     true,
     {"1.000", "1.000", "1.000", "90.00", "0.00", "0.00", "0.00", "180.00", "90.00", "1.000000",
      "0.000000", "0.000000", "0.000000", "1.000000", "0.000000", "0.000000", "0.000000",
      "1.000000"}},
    // Near a repeated pair, where the candidates' threshold decides the axes
    // (the texts that a 50-digit check confirmed).
    {"near a repeated pair",
     {"-307.01124479196426", "-311.6241141523941", "-149.01477613899749", "2.4440229302312924",
      "13.134312765178862", "30.45435964822364"},
     true,
     {"-142.294", "-312.678", "-312.678", "246.67", "78.54", "359.35", "4.47", "90.19", "10.53",
      "-0.182372", "-0.078653", "-0.980079", "0.011243", "-0.996897", "0.077911", "-0.983165",
      "0.003190", "0.182691"}},
};

class ShownTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(ShownTest, EveryResultShowsTheWorkedText) {
  const ShownCase& c = GetParam();
  const text::Separators& separators = c.decimalComma ? kComma : kPoint;
  const PassResults r = RunPass(
      Read(c.stress,
           c.northClockwise ? Azimuth::kClockwiseFromNorth : Azimuth::kCounterClockwiseFromEast,
           std::nullopt, separators));
  EXPECT_FALSE(r.stop.has_value());
  for (int i = 0; i < 18; ++i) {
    const Field field = text::ResultField(i);
    EXPECT_EQ(Shown(r, field, separators), c.shown[static_cast<std::size_t>(i)])
        << text::ObjectName(field);
  }
  EXPECT_EQ(Shown(r, Field::kSigma), "\u2014") << "no joint, no joint results";
}

INSTANTIATE_TEST_SUITE_P(Table, ShownTest, ::testing::ValuesIn(kShownCases), RowName());

// ---------------------------------------------------------------------------
// The joint's results.

struct JointCase {
  const char* name;
  std::array<const char*, 6> stress;
  std::array<const char*, 4> joint;  // beta, psi, phi, c
  std::array<const char*, 3> shown;  // sigma, tau, taulim
};

const JointCase kJointCases[] = {
    {"tension drops the strength",
     {"-3.4", "-1", "-8", "-1", "1", "-2"},
     {"16", "33", "14", "1"},
     {"-5.760", "4.033", "0.000"}},
    {"friction angle above ninety",
     {"3.4", "1", "8", "1", "-1", "2"},
     {"16", "33", "100", "1"},
     {"5.760", "4.033", "-31.668"}},
    {"horizontal joint on a principal plane",
     {"3", "1", "8", "1", "0", "0"},
     {"16", "0", "14", "1"},
     {"8.000", "0.000", "2.995"}},
    {"dip direction a whole turn on",
     {"3.4", "1", "8", "1", "-1", "2"},
     {"376", "33", "14", "1"},
     {"5.760", "4.033", "2.436"}},
    {"same plane from the other side",
     {"3.4", "1", "8", "1", "-1", "2"},
     {"196", "-33", "14", "1"},
     {"5.760", "4.033", "2.436"}},
    {"isotropic",
     {"2", "2", "2", "0", "0", "0"},
     {"16", "33", "14", "1"},
     {"2.000", "0.000", "1.499"}},
};

class JointTest : public ::testing::TestWithParam<JointCase> {};

TEST_P(JointTest, JointResultsShowTheWorkedText) {
  const JointCase& c = GetParam();
  const PassResults r = RunPass(Read(c.stress, Azimuth::kClockwiseFromNorth, c.joint, kPoint));
  EXPECT_FALSE(r.stop.has_value());
  EXPECT_EQ(Shown(r, Field::kSigma), c.shown[0]);
  EXPECT_EQ(Shown(r, Field::kTau), c.shown[1]);
  EXPECT_EQ(Shown(r, Field::kTauLim), c.shown[2]);
}

INSTANTIATE_TEST_SUITE_P(Table, JointTest, ::testing::ValuesIn(kJointCases), RowName());

// ---------------------------------------------------------------------------
// Where a pass stops, and what it filled before.

/// The steps of a pass, in order; a stopped pass holds those before its stop.
enum Step : unsigned {
  kJointPlane = 1u << 0,
  kState = 1u << 1,
  kValues = 1u << 2,
  kDirections = 1u << 3,
  kCosines = 1u << 4,
  kJoint = 1u << 5,
  kJointStresses = 1u << 6,
};

struct StopCase {
  const char* name;
  std::array<const char*, 6> stress;
  std::optional<std::array<const char*, 4>> joint;  // beta, psi, phi, c
  unsigned filled;
  std::optional<Input> unread;  // the input reported, for a text that is no number
  const char* message;          // the floating-point error, else ""
  const char* s1;               // what s1 shows
};

constexpr std::array<const char*, 6> kDefault = {"3.4", "1", "8", "1", "-1", "2"};
constexpr unsigned kAllButJoint = kState | kValues | kDirections | kCosines;

const StopCase kStopCases[] = {
    {"complete without the joint", kDefault, std::nullopt, kAllButJoint, std::nullopt, "", "8.794"},
    {"complete with the joint", kDefault, std::array{"16", "33", "14", "1"},
     kJointPlane | kAllButJoint | kJoint | kJointStresses, std::nullopt, "", "8.794"},
    {"bad dip direction stops before anything", kDefault, std::array{"b", "33", "14", "1"}, 0,
     Input::kJointDipDirection, "", "\u2014"},
    {"dip direction reported before a bad stress",
     {"3.4", "x", "8", "1", "-1", "2"},
     std::array{"16", "p", "14", "1"},
     0,
     Input::kJointDip,
     "",
     "\u2014"},
    {"bad stress after the joint's plane",
     {"3.4", "1", "8", "1", "-1", "2x"},
     std::array{"16", "33", "14", "1"},
     kJointPlane,
     Input::kTzx,
     "",
     "\u2014"},
    {"first bad stress reported",
     {"3.4", "1x", "8", "1", "y", "2"},
     std::nullopt,
     0,
     Input::kSy,
     "",
     "\u2014"},
    {"stress that overflows as it is read",
     {"1e400", "1", "8", "1", "-1", "2"},
     std::nullopt,
     0,
     Input::kSx,
     "",
     "\u2014"},
    {"overflow in the principal values",
     {"1e52", "0", "0", "0", "0", "0"},
     std::nullopt,
     kState,
     std::nullopt,
     numeric::kOverflowMessage,
     "\u2014"},
    {"cohesion reported before friction", kDefault, std::array{"16", "33", "phi?", "c?"},
     kJointPlane | kAllButJoint, Input::kJointCohesion, "", "8.794"},
    {"bad friction angle", kDefault, std::array{"16", "33", "14deg", "1"},
     kJointPlane | kAllButJoint, Input::kJointFriction, "", "8.794"},
    {"friction angle without a tangent", kDefault, std::array{"16", "33", "1e21", "1"},
     kJointPlane | kAllButJoint | kJoint, std::nullopt, numeric::kInvalidOperationMessage, "8.794"},
};

class StopTest : public ::testing::TestWithParam<StopCase> {};

TEST_P(StopTest, FillsTheStepsBeforeItsStop) {
  const StopCase& c = GetParam();
  const PassResults r = RunPass(Read(c.stress, Azimuth::kClockwiseFromNorth, c.joint, kPoint));
  const unsigned filled = (r.jointPlane ? kJointPlane : 0u) | (r.state ? kState : 0u) |
                          (r.values ? kValues : 0u) | (r.HasDirections() ? kDirections : 0u) |
                          (r.cosines ? kCosines : 0u) | (r.joint ? kJoint : 0u) |
                          (r.jointStresses ? kJointStresses : 0u);
  EXPECT_EQ(filled, c.filled);
  EXPECT_EQ(r.jointActive, c.joint.has_value());
  const bool complete = c.unread == std::nullopt && std::string(c.message).empty();
  ASSERT_EQ(r.stop.has_value(), !complete);
  if (!complete) {
    EXPECT_EQ(r.stop->unread, c.unread);
    EXPECT_EQ(r.stop->message, c.message);
  }
  EXPECT_EQ(Shown(r, Field::kS1), c.s1);
}

INSTANTIATE_TEST_SUITE_P(Table, StopTest, ::testing::ValuesIn(kStopCases), RowName());

}  // namespace
}  // namespace engine
