#pragma once
// The texts of the Mohr diagram that the window's chart and the painted
// diagram both show: axis titles, tick labels, the principal marks' labels.

#include <QFontMetricsF>
#include <QString>
#include <array>
#include <vector>

#include "analysis/mohr_geometry.h"
#include "geometry/axes_fit.h"
#include "geometry/steps.h"
#include "stress/stress_state.h"
#include "text/number_text.h"
#include "text/result_rows.h"

namespace figures {

/// "Normal stress σ", with " (MPa)" when a stress unit is named.
QString SigmaAxisTitle(const QString& unit = {});
/// "Effective normal stress σ′" for a diagram at effective stress.
QString EffectiveSigmaAxisTitle(const QString& unit = {});
/// "Shear stress τ".
QString TauAxisTitle(const QString& unit = {});

struct AxisTick {
  double value = 0.0;
  QString label;
};

/// The ticks of an axis over [min, max] every `step` (geometry::TickValues),
/// each labelled with FormatNumber, StepDecimals(step) and `separators`. A
/// tick whose label rounds like the one before is left out: it would name the
/// same tick.
std::vector<AxisTick> AxisTicks(double min, double max, double step,
                                const text::Separators& separators);

/// The labels of the s1, s2 and s3 marks: a repeated value is labelled once,
/// with the names of all the values at its place ("s1 = s2"); the others empty.
std::array<QString, 3> MarkLabels(const stress::PrincipalValues& values);

/// The axes of `extent` in a plot of width x height pixels, with room for
/// the tick labels as `metrics` measures them (in `pixel` device units per
/// pixel): geometry::FitMohrAxes, fitted once and then again with the widest
/// sigma label of that fit; then geometry::WithTwoTicks. Finer tau ticks than
/// the sigma axis's are taken only where the plot, narrowed by as much as
/// their labels are wider than the `tauLabelsWidth` pixels the tau labels
/// take beside the plot now, would still show two sigma ticks: the sigma
/// axis's two ticks come first.
std::optional<geometry::MohrAxes> FitAxesWithLabels(const analysis::MohrExtent& extent,
                                                    double width, double height,
                                                    const QFontMetricsF& metrics, double pixel,
                                                    const text::Separators& separators,
                                                    double tauLabelsWidth = 0.0);

/// The joint's mark.
QString JointMarkLabel();

}  // namespace figures
