#pragma once
// kelvane-cli's command line: one parser for every command's options, and
// the one way a usage or file error ends the program.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/fault_slip.h"
#include "analysis/orientation_statistics.h"
#include "analysis/pole_density.h"
#include "analysis/stress_inversion.h"
#include "analysis/stress_profile.h"
#include "cli/figure_command.h"
#include "engine/plane_results.h"
#include "engine/plane_set.h"
#include "engine/slip_probability.h"
#include "stress/stress_state.h"

namespace cli {

inline constexpr const char* kProgram = "kelvane-cli";

/// A usage or file error: its one-line message on standard error; returns
/// the exit status 2.
int Fail(const std::string& message);

/// What `fabric` computes and how.
struct FabricOptions {
  bool lines = false;  ///< trend and plunge columns rather than planes
  /// The density's method; none: the density columns left empty.
  std::optional<analysis::DensityMethod> density = analysis::DensityMethod::kExponentialKamb;
  double k = 3.0;
  std::optional<int> sets;  ///< k-means sets in place of a set column
  /// The scanline or well of Terzaghi's weights, with the cap (default 10).
  std::optional<analysis::SamplingLine> scanline;
};

struct Options {
  std::string command;
  stress::Azimuth azimuth = stress::Azimuth::kClockwiseFromNorth;
  unsigned threads = 0;
  std::string file = "-";
  bool fileGiven = false;  ///< FILE was given (else standard input)
  // planes
  std::optional<stress::StressState> stress;
  double porePressure = 0.0;
  bool porePressureGiven = false;
  /// --mu as given (the friction of planes is kept as phi in `defaults`).
  std::optional<double> mu;
  // polygon
  std::optional<double> sv;
  // planes at their depth: a profile file, or gradients (MPa/km, metres)
  std::string profilePath;
  std::optional<analysis::GradientProfile> gradients;
  engine::PlaneDefaults defaults{std::nullopt, 0.0};
  std::optional<bool> strike;
  /// --case: a saved study in place of the stress, Pp and plane options.
  std::string casePath;
  std::optional<engine::PlaneSet> casePlanes;  ///< the case's, for planes
  /// With --realizations, --seed or --uncertainty: the slip odds' settings.
  std::optional<engine::UncertaintySettings> uncertainty;
  /// --seed as given: the slip odds', the bootstrap's and the k-means sets'.
  std::optional<std::uint64_t> seed;
  // invert
  /// --data, --method and --friction (empty: auto).
  analysis::InversionSettings inversion;
  int bootstrap = 0;  ///< replicates; 0: none
  /// A share, from --confidence P %: the bootstrap's, and fabric's cone.
  double confidence = analysis::kDefaultConfidence;
  /// --magnitudes S1,S3: s1 and s3 of the full tensor written.
  std::optional<std::pair<double, double>> magnitudes;
  /// --sense: the slip sense of rows whose notation needs one and has none.
  std::optional<analysis::SlipSense> sense;
  std::string perFaultFile;  ///< --per-fault FILE; empty: none
  // figure
  FigureJob figure;
  // fabric
  FabricOptions fabric;
};

/// Reads the command line (without the program's name) into `options`.
/// Returns the exit status when the program ends here: 0 after --help or
/// --version (their text written), 2 after a usage error (its message
/// written, as Fail does); empty when the command is to run. A --case file
/// is read here, its values taking the place of the options it stands for.
std::optional<int> ParseOptions(const std::vector<std::string_view>& args, Options& options);

}  // namespace cli
