#pragma once
// kelvane-cli figure: the window's net or Mohr diagram written as a PNG or
// SVG file without a display (Qt's offscreen platform), by the painters the
// window's figure export uses.

#include <optional>
#include <string>
#include <vector>

#include "analysis/pole_density.h"
#include "engine/plane_results.h"
#include "engine/plane_set.h"
#include "engine/tendency_map.h"
#include "figures/figure_file.h"
#include "stress/stress_state.h"

namespace cli {

struct FigureJob {
  /// Empty: a net without a state (with --density only).
  std::optional<stress::StressState> stress;
  double porePressure = 0.0;
  engine::PlaneDefaults defaults;
  std::string planesFile;                          ///< empty for none
  std::optional<engine::PlaneSet> planesFromCase;  ///< in place of planesFile
  engine::MapQuantity map = engine::MapQuantity::kNone;
  /// The planes' pole density contoured on the net.
  std::optional<analysis::DensityMethod> density;
  double k = 3.0;
  std::optional<double> interval;  ///< between contours; empty: a round one
  /// --what rose: strikes (else dip directions), the bin width, area-true.
  std::optional<bool> roseOfStrikes;
  std::optional<double> binWidth;
  bool areaTrue = false;
  figures::FigureKind kind = figures::FigureKind::kNet;
  std::string output;
  std::optional<double> widthMm;   ///< default: 120 for the net, 160 for the Mohr diagram
  std::optional<double> heightMm;  ///< default: 130 for the net, 110 for the Mohr diagram
  int dpi = 300;
};

/// What the planes file said of its rows: each skipped row's reason and each
/// note ("line 17: dip 95 is outside 0 to 90"), in line order, and how many
/// rows were skipped.
struct FigureRows {
  std::vector<std::string> messages;
  std::size_t skipped = 0;
};

/// Writes the figure of `job`; true when written, else false with `error`
/// saying why in one line. The planes file's row messages go to `rows`.
bool RunFigure(const FigureJob& job, FigureRows& rows, std::string& error);

}  // namespace cli
