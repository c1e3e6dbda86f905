#pragma once
// The window "Slip probability": for the planes selected in the Planes
// window (at most ten) and the joint, the probability of slip against the
// pore-pressure increase from the last Monte Carlo run, drawn by
// figures/odds_curves.h, and exported as a figure.

#include <QWidget>
#include <cstddef>
#include <vector>

#include "figures/odds_curves.h"
#include "text/number_text.h"

namespace ui {

class PlaneStudy;

/// The curves of `planes` (indices into the set) and of the joint, from the
/// study's last run (none while it has no odds); curve k in CurveColour(k),
/// the joint's black.
std::vector<figures::OddsCurve> OddsCurves(const PlaneStudy& study,
                                           const std::vector<std::size_t>& planes);

/// The `count` planes of highest P(slip), highest first (ties in set order).
std::vector<std::size_t> PlanesMostLikelyToSlip(const PlaneStudy& study, std::size_t count);

class SlipProbabilityWindow : public QWidget {
  Q_OBJECT

 public:
  /// At most this many planes are drawn at once.
  static constexpr std::size_t kMostPlanes = 10;

  SlipProbabilityWindow(PlaneStudy& study, QWidget* parent = nullptr);

  void SetSeparators(const text::Separators& separators);
  void SetUnit(const QString& unit);
  /// Draws the curves of `planes` (indices into the set; the first ten).
  void SetPlanes(const std::vector<std::size_t>& planes);
  /// The curves drawn: the planes', then the joint's.
  const std::vector<figures::OddsCurve>& Curves() const { return curves_; }

 private:
  void MakeCurves();
  void ExportFigure();

  PlaneStudy& study_;
  text::Separators separators_;
  QString unit_;
  std::vector<std::size_t> planes_;
  std::vector<figures::OddsCurve> curves_;
  QWidget* canvas_ = nullptr;
};

}  // namespace ui
