#include "text/result_rows.h"

#include <cmath>

#include "analysis/stress_measures.h"
#include "engine/derived.h"

namespace text {
namespace {

QString Number(double value, int decimals, const Separators& separators) {
  return FormatNumber(value, decimals, separators);
}

QString Optional(const std::optional<double>& value, int decimals, const Separators& separators) {
  return value.has_value() ? Number(*value, decimals, separators) : NoValueText();
}

QString RegimeText(analysis::FaultingRegime regime) {
  switch (regime) {
    case analysis::FaultingRegime::kNormal:
      return QStringLiteral("NF: normal faulting");
    case analysis::FaultingRegime::kNormalStrikeSlip:
      return QStringLiteral("NS: normal/strike-slip faulting");
    case analysis::FaultingRegime::kStrikeSlip:
      return QStringLiteral("SS: strike-slip faulting");
    case analysis::FaultingRegime::kThrustStrikeSlip:
      return QStringLiteral("TS: thrust/strike-slip faulting");
    case analysis::FaultingRegime::kThrust:
      return QStringLiteral("TF: thrust faulting");
    case analysis::FaultingRegime::kUnknown:
      break;
  }
  return QStringLiteral("U: unknown");
}

/// The state line; primed names when it was decided on effective stress.
QString JointStateText(analysis::JointState state, bool effective) {
  const QString prime = effective ? QString(QChar(0x2032)) : QString();
  switch (state) {
    case analysis::JointState::kOpens:
      return QString::fromUtf8("opens (\u03c3") + prime + QStringLiteral(" < 0)");
    case analysis::JointState::kSlips:
      return QString::fromUtf8("slips (\u03c4 \u2265 \u03c4lim") + prime + QLatin1Char(')');
    case analysis::JointState::kStable:
      break;
  }
  return QString::fromUtf8("stable (\u03c4 < \u03c4lim") + prime + QLatin1Char(')');
}

}  // namespace

QString NoValueText() {
  return QString(QChar(0x2014));
}

QString WithUnit(const QString& name, const QString& unit) {
  return unit.isEmpty() ? name : name + QStringLiteral(" (") + unit + QLatin1Char(')');
}

QString InputText(double value, const Separators& separators) {
  QString text = FormatNumber(value, 15, separators);
  if (text.contains(QLatin1Char('E')) || separators.decimal.isEmpty())
    return text;
  const qsizetype point = text.lastIndexOf(separators.decimal);
  if (point < 0)
    return text;
  qsizetype end = text.size();
  while (end > point + separators.decimal.size() && text[end - 1] == QLatin1Char('0'))
    --end;
  if (end == point + separators.decimal.size())
    end = point;
  text.truncate(end);
  return text;
}

QList<ResultRow> InputRows(const engine::PassResults& results, const Separators& separators,
                           const QString& unit) {
  const auto row = [&](Field field) {
    const std::optional<double> value = ShownValue(results, field);
    return ResultRow{QString::fromUtf8(FieldOf(field).name),
                     value.has_value() ? InputText(*value, separators) : NoValueText()};
  };
  QList<ResultRow> rows;
  for (const Field field :
       {Field::kSx, Field::kSy, Field::kSz, Field::kTxy, Field::kTyz, Field::kTzx})
    rows.append(row(field));
  if (results.jointActive) {
    for (const Field field : {Field::kJointDipDirection, Field::kJointDip, Field::kJointFriction,
                              Field::kJointCohesion})
      rows.append(row(field));
  }
  rows.append({QStringLiteral("azimuths"), results.azimuth == stress::Azimuth::kClockwiseFromNorth
                                               ? QStringLiteral("clockwise from North")
                                               : QStringLiteral("counter-clockwise from East")});
  rows.append({QStringLiteral("pore pressure Pp"), InputText(results.porePressure, separators)});
  if (!unit.isEmpty())
    rows.append({QStringLiteral("stress unit"), unit});
  return rows;
}

QString ShownText(const engine::PassResults& results, Field field, const Separators& separators) {
  return Optional(ShownValue(results, field), FieldOf(field).decimals, separators);
}

QList<ResultRow> ResultRows(const engine::PassResults& results, const Separators& separators) {
  QList<ResultRow> rows;
  for (int i = 0; i < kResultCount; ++i) {
    const Field field = ResultField(i);
    rows.append({QString::fromUtf8(FieldOf(field).name), ShownText(results, field, separators)});
  }
  return rows;
}

const std::array<DerivedQuantity, kDerivedCount> kDerivedQuantities = {{
    {"input_mean_stress", "Mean stress p", "Mean p"},
    {"input_max_shear", "Maximum shear stress", "Max shear"},
    {"input_von_mises", "von Mises stress q", "von Mises q"},
    {"input_octahedral_shear", "Octahedral shear stress", "Oct. shear"},
    {"input_stress_ratio", "Stress ratio \u03a6", "Ratio \u03a6"},
    {"input_sv", "Vertical stress Sv", "Sv"},
    {"input_shmax", "SHmax", "SHmax"},
    {"input_shmin", "Shmin", "Shmin"},
    {"input_shmax_azimuth", "SHmax azimuth", "SHmax az."},
    {"input_regime", "Faulting regime", "Regime"},
    {"input_slip_tendency", "Slip tendency Ts", "Slip Ts"},
    {"input_dilation_tendency", "Dilation tendency Td", "Dilation Td"},
    {"input_factor_of_safety", "Factor of safety F", "Safety F"},
    {"input_joint_state", "Joint", "Joint"},
    {"input_s1_effective", "Effective s1\u2032", "s1\u2032"},
    {"input_s2_effective", "Effective s2\u2032", "s2\u2032"},
    {"input_s3_effective", "Effective s3\u2032", "s3\u2032"},
    {"input_sigma_effective", "Effective normal stress \u03c3\u2032", "\u03c3\u2032"},
    {"input_taulim_effective", "Limiting shear stress \u03c4lim\u2032", "\u03c4lim\u2032"},
    {"input_slip_tendency_max", "Largest slip tendency Ts,max", "Ts,max"},
    {"input_slip_tendency_normalized", "Normalized slip tendency Ts/Ts,max", "Ts/Ts,max"},
    {"input_cff", "Coulomb failure function CFF", "CFF"},
    {"input_delta_pc", "Pore pressure to slip \u0394Pc", "\u0394Pc"},
}};

QString DerivedName(Derived which, stress::Azimuth convention, bool shortName,
                    const QString& unit) {
  const DerivedQuantity& quantity = kDerivedQuantities[static_cast<std::size_t>(which)];
  QString name = QString::fromUtf8(shortName ? quantity.shortName : quantity.name);
  switch (which) {
    case Derived::kStressRatio:
    case Derived::kShMaxAzimuth:
    case Derived::kRegime:
    case Derived::kSlipTendency:
    case Derived::kDilationTendency:
    case Derived::kFactorOfSafety:
    case Derived::kJointState:
    case Derived::kSlipTendencyMax:
    case Derived::kNormalizedSlipTendency:
      break;
    default:
      name = WithUnit(name, unit);  // a stress
  }
  if (which == Derived::kShMaxAzimuth) {
    const bool north = convention == stress::Azimuth::kClockwiseFromNorth;
    if (shortName)
      name += north ? QStringLiteral(" (N)") : QStringLiteral(" (E)");
    else
      name += north ? QStringLiteral(" (clockwise from North)")
                    : QStringLiteral(" (counter-clockwise from East)");
  }
  return name;
}

std::array<QString, kDerivedCount> DerivedTexts(const engine::PassResults& results,
                                                const Separators& separators) {
  std::array<QString, kDerivedCount> texts;
  texts.fill(NoValueText());
  const auto set = [&texts](Derived which, const QString& text) {
    texts[static_cast<std::size_t>(which)] = text;
  };
  const engine::DerivedResults d = engine::ComputeDerived(results);
  const auto stressText = [&separators](const std::optional<double>& value) {
    return Optional(value, kStressDecimals, separators);
  };
  const auto ratioText = [&separators](const std::optional<double>& value) {
    return Optional(value, kRatioDecimals, separators);
  };
  set(Derived::kMeanStress, stressText(d.mean));
  set(Derived::kMaxShear, stressText(d.maxShear));
  set(Derived::kVonMises, stressText(d.vonMises));
  set(Derived::kOctahedralShear, stressText(d.octahedralShear));
  set(Derived::kStressRatio, ratioText(d.stressRatio));
  if (d.regime.has_value())
    set(Derived::kRegime, RegimeText(*d.regime));
  set(Derived::kSlipTendency, ratioText(d.slipTendency));
  set(Derived::kDilationTendency, ratioText(d.dilationTendency));
  if (d.factorOfSafety.has_value()) {
    const double f = *d.factorOfSafety;
    set(Derived::kFactorOfSafety, std::isinf(f) && f > 0.0 ? QString(QChar(0x221e)) : ratioText(f));
  }
  if (d.jointState.has_value())
    set(Derived::kJointState, JointStateText(*d.jointState, results.porePressure != 0.0));
  if (d.effectiveValues.has_value()) {
    set(Derived::kEffectiveS1, stressText(d.effectiveValues->s1));
    set(Derived::kEffectiveS2, stressText(d.effectiveValues->s2));
    set(Derived::kEffectiveS3, stressText(d.effectiveValues->s3));
  }
  set(Derived::kEffectiveSigma, stressText(d.sigmaEffective));
  set(Derived::kEffectiveTauLim, stressText(d.tauLimEffective));
  set(Derived::kSlipTendencyMax, ratioText(d.slipTendencyMax));
  set(Derived::kNormalizedSlipTendency, ratioText(d.normalizedSlipTendency));
  set(Derived::kCoulombFailure, stressText(d.coulombFailure));
  set(Derived::kPorePressureToSlip, stressText(d.porePressureToSlip));
  set(Derived::kVerticalStress, stressText(d.sv));
  set(Derived::kShMax, stressText(d.shMax));
  set(Derived::kShMin, stressText(d.shMin));
  if (d.shMaxAzimuth.has_value()) {
    // An axis at 179.996 degrees is shown at 0.00, where its range [0, 180)
    // folds, not at 180.00.
    QString azimuth = Optional(d.shMaxAzimuth, kAngleDecimals, separators);
    if (azimuth == FormatNumber(180.0, kAngleDecimals, separators))
      azimuth = FormatNumber(0.0, kAngleDecimals, separators);
    set(Derived::kShMaxAzimuth, azimuth);
  }
  return texts;
}

QList<ResultRow> DerivedRows(const engine::PassResults& results, const Separators& separators,
                             const QString& unit) {
  const auto texts = DerivedTexts(results, separators);
  QList<ResultRow> rows;
  for (int i = 0; i < kDerivedCount; ++i)
    rows.append({DerivedName(static_cast<Derived>(i), results.azimuth, false, unit), texts[i]});
  return rows;
}

QString PlainTextTable(const QList<ResultRow>& rows) {
  QString text;
  for (const ResultRow& row : rows)
    text += row.name + QLatin1Char('\t') + row.value + QLatin1Char('\n');
  return text;
}

QString HtmlTable(const QList<ResultRow>& rows) {
  QString html = QStringLiteral(
      "<html><head><meta charset=\"utf-8\"></head><body>\n"
      "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n");
  for (const ResultRow& row : rows) {
    html += QStringLiteral("<tr><td>") + row.name.toHtmlEscaped() +
            QStringLiteral("</td><td align=\"right\">") + row.value.toHtmlEscaped() +
            QStringLiteral("</td></tr>\n");
  }
  html += QStringLiteral("</table>\n</body></html>\n");
  return html;
}

}  // namespace text
