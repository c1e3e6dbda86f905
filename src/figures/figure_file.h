#pragma once
// A figure for a paper or a slide: the net (with its tendency map and legend),
// the Mohr diagram of a pass or the curves of slip probability, on a white page of a given size, as
// PNG at a given resolution or as SVG (vector, the map embedded as an image). Drawn by the same
// painters as the report. Sizes in millimetres, resolutions in dots per inch.

#include <QByteArray>
#include <QString>

#include <optional>

#include "engine/pass_results.h"
#include "figures/density_map.h"
#include "figures/odds_curves.h"
#include "figures/plane_dots.h"
#include "figures/tendency_map.h"
#include "text/number_text.h"

class QPainter;

namespace figures {

enum class FigureKind { kNet, kMohr, kSlipProbability, kRose };
enum class FigureFormat { kPng, kSvg };

struct FigureRequest {
  FigureKind kind = FigureKind::kNet;
  engine::PassResults results;
  text::Separators separators;
  QString unit;  ///< the stress unit's name; empty for none
  MapRequest map;
  /// A plane set's dots, or nullptr (not owned).
  const PlaneDots* dots = nullptr;
  /// For kNet: the pole density contoured beneath the dots, with its legend
  /// (in place of a tendency map's).
  std::optional<DensityRequest> density;
  /// For kSlipProbability: the curves.
  std::vector<OddsCurve> curves;
  /// For kRose: the bins, what they count ("Strikes") and of how many planes.
  analysis::RoseDiagram rose;
  QString roseOf;
  int rosePlanes = 0;
  double widthMm = 120.0;
  double heightMm = 130.0;
  int dpi = 300;
};

/// The format a file name asks for by its suffix (".png", ".svg", any case);
/// throws std::runtime_error naming the two it knows for any other.
FigureFormat FormatOfFile(const QString& path);

/// Paints the figure on the whole of `page` (device units of `painter`): a
/// white ground, the figure, and under the net the map's legend.
void PaintFigure(QPainter& painter, const QRectF& page, const FigureRequest& request);

/// The figure's file contents. PNG: widthMm x heightMm at `dpi` pixels, the
/// resolution recorded. Throws std::runtime_error for a size or resolution
/// out of range (1 to 2000 mm, 30 to 2400 dpi, at most 400 million pixels).
QByteArray FigureBytes(const FigureRequest& request, FigureFormat format);

/// Writes the figure to `path` in the format its suffix names, as
/// files::SaveBytes writes (atomically; "Could not save the figure to ...").
void WriteFigure(const QString& path, const FigureRequest& request);

}  // namespace figures
