#pragma once
// The number boxes of the main window, written once: for each its object
// name, what it holds (its accessible name, also the row name of copies and
// reports), its decimals, its colour and the value of a pass it shows. The
// layout, the pass's write-out, the Mohr window, Copy and the report all read
// this table.
// Colours are those of the principal stresses (projection/colour.h); angles
// are shown in degrees, stresses in the user's unit.

#include <array>
#include <optional>

#include "engine/pass_results.h"
#include "projection/colour.h"

namespace text {

/// The 21 results in the order a pass writes them, then the ten inputs in the
/// order a pass reads them (that of engine::Input).
enum class Field {
  kS1,
  kS2,
  kS3,
  kS1Azimuth,
  kS1Dip,
  kS2Azimuth,
  kS2Dip,
  kS3Azimuth,
  kS3Dip,
  kL1,
  kM1,
  kN1,
  kL2,
  kM2,
  kN2,
  kL3,
  kM3,
  kN3,
  kSigma,
  kTau,
  kTauLim,
  kJointDipDirection,
  kJointDip,
  kSx,
  kSy,
  kSz,
  kTxy,
  kTyz,
  kTzx,
  kJointCohesion,
  kJointFriction,
};
inline constexpr int kResultCount = 21;
inline constexpr int kFieldCount = kResultCount + engine::kInputCount;

struct ShownField {
  const char* objectName;
  const char* name;  ///< what the box holds, UTF-8
  /// Decimals of a result; an input shows the number as the user would
  /// type it (InputText, text/result_rows.h) and has none.
  int decimals;
  projection::Colour colour;  ///< of its principal stress; black for the others
};

inline constexpr int kStressDecimals = 3;
inline constexpr int kAngleDecimals = 2;
inline constexpr int kCosineDecimals = 6;
inline constexpr int kRatioDecimals = 3;

inline constexpr std::array<ShownField, kFieldCount> kShownFields = {{
    {"input_s1", "s1", kStressDecimals, projection::kGreen},
    {"input_s2", "s2", kStressDecimals, projection::kRed},
    {"input_s3", "s3", kStressDecimals, projection::kBlue},
    {"input_s1_beta", "s1 azimuth", kAngleDecimals, projection::kGreen},
    {"input_s1_psi", "s1 dip", kAngleDecimals, projection::kGreen},
    {"input_s2_beta", "s2 azimuth", kAngleDecimals, projection::kRed},
    {"input_s2_psi", "s2 dip", kAngleDecimals, projection::kRed},
    {"input_s3_beta", "s3 azimuth", kAngleDecimals, projection::kBlue},
    {"input_s3_psi", "s3 dip", kAngleDecimals, projection::kBlue},
    {"edtL1", "s1 direction cosine L (x)", kCosineDecimals, projection::kGreen},
    {"edtM1", "s1 direction cosine M (y)", kCosineDecimals, projection::kGreen},
    {"edtN1", "s1 direction cosine N (z)", kCosineDecimals, projection::kGreen},
    {"edtL2", "s2 direction cosine L (x)", kCosineDecimals, projection::kRed},
    {"edtM2", "s2 direction cosine M (y)", kCosineDecimals, projection::kRed},
    {"edtN2", "s2 direction cosine N (z)", kCosineDecimals, projection::kRed},
    {"edtL3", "s3 direction cosine L (x)", kCosineDecimals, projection::kBlue},
    {"edtM3", "s3 direction cosine M (y)", kCosineDecimals, projection::kBlue},
    {"edtN3", "s3 direction cosine N (z)", kCosineDecimals, projection::kBlue},
    {"input_sigma", "normal stress on joint", kStressDecimals, projection::kBlack},
    {"input_tau", "shear stress on joint", kStressDecimals, projection::kBlack},
    {"input_taulim", "limiting shear stress on joint", kStressDecimals, projection::kBlack},
    {"input_joint_beta", "joint dip direction", 0, projection::kBlack},
    {"input_joint_psi", "joint dip", 0, projection::kBlack},
    {"input_sx", "sx", 0, projection::kBlack},
    {"input_sy", "sy", 0, projection::kBlack},
    {"input_sz", "sz", 0, projection::kBlack},
    {"input_txy", "txy", 0, projection::kBlack},
    {"input_tyx", "tyz", 0, projection::kBlack},  // the box named tyx holds tyz
    {"input_tzx", "tzx", 0, projection::kBlack},
    {"input_joint_c", "joint cohesion", 0, projection::kBlack},
    {"input_joint_phi", "joint friction angle", 0, projection::kBlack},
}};

constexpr const ShownField& FieldOf(Field field) {
  return kShownFields[static_cast<std::size_t>(field)];
}
constexpr const char* ObjectName(Field field) {
  return FieldOf(field).objectName;
}

/// Result i of the pass's write order (0 to 20).
constexpr Field ResultField(int i) {
  return static_cast<Field>(i);
}
/// The box of a pass's input.
constexpr Field InputField(engine::Input input) {
  return static_cast<Field>(kResultCount + static_cast<int>(input));
}
/// Principal value i's value, azimuth and dip, and its column of cosines (L, M, N).
constexpr Field ValueField(int i) {
  return static_cast<Field>(static_cast<int>(Field::kS1) + i);
}
constexpr Field AzimuthField(int i) {
  return static_cast<Field>(static_cast<int>(Field::kS1Azimuth) + 2 * i);
}
constexpr Field DipField(int i) {
  return static_cast<Field>(static_cast<int>(Field::kS1Dip) + 2 * i);
}
constexpr Field CosineField(int i, int component) {
  return static_cast<Field>(static_cast<int>(Field::kL1) + 3 * i + component);
}

/// The number `field` shows after the pass that gave `results`: a result once
/// the pass wrote it, an input once the pass read it; empty otherwise.
std::optional<double> ShownValue(const engine::PassResults& results, Field field);

}  // namespace text
