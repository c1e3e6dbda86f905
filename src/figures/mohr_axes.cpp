#include "figures/mohr_axes.h"

#include <algorithm>

#include "analysis/mohr_geometry.h"
#include "geometry/axes_fit.h"
#include "geometry/steps.h"

namespace figures {

QString SigmaAxisTitle(const QString& unit) {
  return text::WithUnit(QString::fromUtf8("Normal stress \u03c3"), unit);
}

QString EffectiveSigmaAxisTitle(const QString& unit) {
  return text::WithUnit(QString::fromUtf8("Effective normal stress \u03c3\u2032"), unit);
}

QString TauAxisTitle(const QString& unit) {
  return text::WithUnit(QString::fromUtf8("Shear stress \u03c4"), unit);
}

std::vector<AxisTick> AxisTicks(double min, double max, double step,
                                const text::Separators& separators) {
  const int decimals = geometry::StepDecimals(step);
  std::vector<AxisTick> ticks;
  for (const double value : geometry::TickValues(min, max, step)) {
    QString label = text::FormatNumber(value, decimals, separators);
    if (!ticks.empty() && ticks.back().label == label)
      continue;
    ticks.push_back({value, std::move(label)});
  }
  return ticks;
}

namespace {

/// The widest of the labels `ticks` in pixels.
double Widest(const std::vector<AxisTick>& ticks, const QFontMetricsF& metrics, double pixel) {
  double widest = 0.0;
  for (const AxisTick& tick : ticks)
    widest = std::max(widest, metrics.horizontalAdvance(tick.label) / pixel);
  return widest;
}

struct Fits {
  geometry::MohrAxes spaced;  ///< ticks as far apart as the sigma labels want
  geometry::MohrAxes two;     ///< with two ticks on each axis where the labels allow
};

std::optional<Fits> FitBoth(const analysis::MohrExtent& extent, double width, double height,
                            const QFontMetricsF& metrics, double pixel,
                            const text::Separators& separators) {
  const std::optional<geometry::MohrAxes> first = geometry::FitMohrAxes(extent, width, height);
  if (!first.has_value())
    return std::nullopt;
  const auto sigmaWidth = [&](const geometry::MohrAxes& axes, double step) {
    return Widest(AxisTicks(axes.sigmaMin, axes.sigmaMax, step, separators), metrics, pixel);
  };
  const std::optional<geometry::MohrAxes> spaced =
      geometry::FitMohrAxes(extent, width, height, sigmaWidth(*first, first->step));
  if (!spaced.has_value())
    return std::nullopt;
  const geometry::MohrAxes two = geometry::WithTwoTicks(
      *spaced, [&](double step) { return sigmaWidth(*spaced, step); }, metrics.height() / pixel);
  return Fits{*spaced, two};
}

}  // namespace

std::optional<geometry::MohrAxes> FitAxesWithLabels(const analysis::MohrExtent& extent,
                                                    double width, double height,
                                                    const QFontMetricsF& metrics, double pixel,
                                                    const text::Separators& separators,
                                                    double tauLabelsWidth) {
  const std::optional<Fits> fits = FitBoth(extent, width, height, metrics, pixel, separators);
  if (!fits.has_value())
    return std::nullopt;
  const geometry::MohrAxes& two = fits->two;
  if (two.tauStep == fits->spaced.tauStep)
    return two;
  // Finer tau ticks can have longer labels, which take their room from the
  // plot beside them: taken only where the plot, narrowed by as much, still
  // shows two sigma ticks. The room of plot and labels together decides, so
  // that the choice stays the same once the labels have taken it.
  const double wider =
      Widest(AxisTicks(two.tauMin, two.tauMax, two.tauStep, separators), metrics, pixel) -
      tauLabelsWidth;
  const std::optional<Fits> narrowed =
      FitBoth(extent, width - std::max(wider, 0.0), height, metrics, pixel, separators);
  const bool sigmaKeepsTwo =
      narrowed.has_value() &&
      geometry::TickValues(narrowed->two.sigmaMin, narrowed->two.sigmaMax, narrowed->two.step)
              .size() >= 2;
  return sigmaKeepsTwo ? two : fits->spaced;
}

std::array<QString, 3> MarkLabels(const stress::PrincipalValues& v) {
  if (v.s1 == v.s2 && v.s2 == v.s3)
    return {QStringLiteral("s1 = s2 = s3"), QString(), QString()};
  if (v.s1 == v.s2)
    return {QStringLiteral("s1 = s2"), QString(), QStringLiteral("s3")};
  if (v.s2 == v.s3)
    return {QStringLiteral("s1"), QStringLiteral("s2 = s3"), QString()};
  return {QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("s3")};
}

QString JointMarkLabel() {
  return QStringLiteral("joint");
}

}  // namespace figures
