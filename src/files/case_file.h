#pragma once
// A study saved as a file (.kelvane): the window's inputs as typed and as
// numbers, its settings, the plane set and the uncertainty, in a versioned
// JSON text (UTF-8) that docs/case-format.md describes. Reading checks every
// key and value and names what is wrong and where; it never half-reads.
// Stresses in the user's unit, angles in degrees, as the window shows them.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <stdexcept>
#include <vector>

#include "engine/pass_results.h"
#include "engine/plane_set.h"
#include "engine/slip_probability.h"
#include "engine/tendency_map.h"
#include "tables/plane_reader.h"

namespace files {

/// The format's name and the newest version this program reads and writes.
inline constexpr char kCaseFormat[] = "kelvane-case";
inline constexpr int kCaseVersion = 1;

/// A dialog's boxes as typed, kept for its next showing.
struct BuilderTexts {
  bool typed = false;  ///< false: the built-in defaults
  std::array<QString, 7> numbers;
};

struct Case {
  /// The ten input boxes as typed, in engine::Input order, and the numbers
  /// they stand for (empty where a text is no number): the window restores
  /// the texts, a program that reads no texts the numbers.
  std::array<QString, engine::kInputCount> texts;
  std::array<std::optional<double>, engine::kInputCount> values;
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  bool jointActive = false;
  bool cosinesShown = false;
  QString porePressureText = QStringLiteral("0");
  double porePressure = 0.0;
  QString stressUnit;  ///< "", "MPa", "kPa", "psi" or "bar"
  BuilderTexts depth;  ///< depth, gradients, density, SHmax azimuth
  bool depthInPsi = false;
  bool svFromDensity = false;
  BuilderTexts principal;
  engine::PlaneSet planes;
  std::optional<tables::PlaneReading> importReading;  ///< how the set was last imported
  std::optional<engine::UncertaintySettings> uncertainty;
  engine::MapQuantity map = engine::MapQuantity::kNone;
  QString dotColouring = QStringLiteral("ts_normalized");
};

/// Why a file cannot be read as a case; what() names what and where.
class CaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The case as its file's text: UTF-8 JSON, numbers as the shortest text that
/// reads back to the same double.
QByteArray WriteCase(const Case& c);

/// Reads a case. Throws CaseError for text that is no JSON (with the byte
/// offset), no case, a newer version (naming both), a value of the wrong type
/// or out of range (with its key path). Keys this version does not know are
/// ignored and their paths put in `unknown`.
Case ReadCase(const QByteArray& bytes, QStringList* unknown = nullptr);

}  // namespace files
