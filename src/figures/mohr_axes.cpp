#include "figures/mohr_axes.h"

#include <algorithm>

#include "analysis/mohr_geometry.h"

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
  const int decimals = analysis::StepDecimals(step);
  std::vector<AxisTick> ticks;
  for (const double value : analysis::TickValues(min, max, step)) {
    QString label = text::FormatNumber(value, decimals, separators);
    if (!ticks.empty() && ticks.back().label == label)
      continue;
    ticks.push_back({value, std::move(label)});
  }
  return ticks;
}

std::optional<analysis::MohrAxes> FitAxesWithLabels(const analysis::MohrExtent& extent,
                                                    double width, double height,
                                                    const QFontMetricsF& metrics, double pixel,
                                                    const text::Separators& separators) {
  const std::optional<analysis::MohrAxes> first = analysis::FitMohrAxes(extent, width, height);
  if (!first.has_value())
    return first;
  double widest = 0.0;
  for (const AxisTick& tick : AxisTicks(first->sigmaMin, first->sigmaMax, first->step, separators))
    widest = std::max(widest, metrics.horizontalAdvance(tick.label) / pixel);
  return analysis::FitMohrAxes(extent, width, height, widest);
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
