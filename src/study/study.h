#pragma once
// Everything a study holds, and so everything a case file keeps: the window's
// ten inputs as typed and as numbers, the angle convention, the joint and
// direction-cosine switches, the pore pressure, the stress unit, the stress
// builders' settings, the plane set with how it was imported, the slip
// odds' uncertainty, the tendency map and the dots' colouring.
// Qt-free: texts are UTF-8. Stresses in the user's unit (compression
// positive), angles in degrees, as the window shows them.

#include <array>
#include <optional>
#include <string>

#include "engine/pass_results.h"
#include "engine/plane_set.h"
#include "engine/slip_probability.h"
#include "engine/tendency_map.h"
#include "stress/stress_state.h"
#include "tables/plane_reader.h"

namespace study {

/// A stress builder's boxes as typed, kept for its next showing.
struct BuilderTexts {
  bool typed = false;  ///< false: the built-in defaults
  std::array<std::string, 7> numbers;

  bool operator==(const BuilderTexts&) const = default;
};

struct Study {
  /// The ten input boxes as typed, in engine::Input order, and the numbers
  /// they stand for (empty where a text is no number): the window restores
  /// the texts, a program that reads no texts the numbers.
  std::array<std::string, engine::kInputCount> texts;
  std::array<std::optional<double>, engine::kInputCount> values;
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  bool jointActive = false;
  bool cosinesShown = false;
  std::string porePressureText = "0";
  double porePressure = 0.0;
  std::string stressUnit;  ///< "", "MPa", "kPa", "psi" or "bar"
  BuilderTexts depth;      ///< depth, gradients, density, SHmax azimuth
  bool depthInPsi = false;
  bool svFromDensity = false;
  BuilderTexts principal;
  engine::PlaneSet planes;
  std::optional<tables::PlaneReading> importReading;  ///< how the set was last imported
  std::optional<engine::UncertaintySettings> uncertainty;
  engine::MapQuantity map = engine::MapQuantity::kNone;
  /// The quantity the plane dots are coloured by, by its case-file name.
  std::string dotColouring = "ts_normalized";
};

/// What an edit changed, so that each view redraws only what it shows.
enum Change : unsigned {
  kInputs = 1u << 0,        ///< texts, values, azimuth, joint and cosine switches
  kPorePressure = 1u << 1,  ///< porePressure and its text
  kStressUnit = 1u << 2,
  kBuilders = 1u << 3,  ///< the builders' settings
  kPlanes = 1u << 4,    ///< the plane set (and its import reading)
  kUncertainty = 1u << 5,
  kMap = 1u << 6,
  kColouring = 1u << 7,
  kEverything = ~0u,
};
using Changes = unsigned;

}  // namespace study
