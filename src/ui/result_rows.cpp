#include "ui/result_rows.h"

#include <cmath>

#include "analysis/stress_measures.h"

namespace ui {
namespace {

constexpr int kStressDecimals = 3;
constexpr int kAngleDecimals = 2;
constexpr int kCosineDecimals = 6;
constexpr int kRatioDecimals = 3;

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

QString JointStateText(analysis::JointState state) {
  switch (state) {
    case analysis::JointState::kOpens:
      return QString::fromUtf8("opens (\u03c3 < 0)");
    case analysis::JointState::kSlips:
      return QString::fromUtf8("slips (\u03c4 \u2265 \u03c4lim)");
    case analysis::JointState::kStable:
      break;
  }
  return QString::fromUtf8("stable (\u03c4 < \u03c4lim)");
}

}  // namespace

QString NoValueText() {
  return QString(QChar(0x2014));
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

QList<ResultRow> InputRows(const PassResults& results, const Separators& separators) {
  const auto text = [&](const auto& part, double value) {
    return part.has_value() ? InputText(value, separators) : NoValueText();
  };
  const stress::StressState s = results.state.value_or(stress::StressState{});
  QList<ResultRow> rows = {
      {QStringLiteral("sx"), text(results.state, s.sx)},
      {QStringLiteral("sy"), text(results.state, s.sy)},
      {QStringLiteral("sz"), text(results.state, s.sz)},
      {QStringLiteral("txy"), text(results.state, s.txy)},
      {QStringLiteral("tyz"), text(results.state, s.tyz)},
      {QStringLiteral("tzx"), text(results.state, s.tzx)},
  };
  if (results.jointActive) {
    const stress::JointPlane j = results.joint.value_or(stress::JointPlane{});
    rows.append({QStringLiteral("joint dip direction"), text(results.joint, j.beta)});
    rows.append({QStringLiteral("joint dip"), text(results.joint, j.psi)});
    rows.append({QStringLiteral("joint friction angle"), text(results.joint, j.phi)});
    rows.append({QStringLiteral("joint cohesion"), text(results.joint, j.c)});
  }
  rows.append({QStringLiteral("azimuths"), results.angleMode != 0
                                               ? QStringLiteral("clockwise from North")
                                               : QStringLiteral("counter-clockwise from East")});
  return rows;
}

const std::array<ShownResult, kResultCount> kShownResults = {{
    {"input_s1", "s1", kStressDecimals},
    {"input_s2", "s2", kStressDecimals},
    {"input_s3", "s3", kStressDecimals},
    {"input_s1_beta", "s1 azimuth", kAngleDecimals},
    {"input_s1_psi", "s1 dip", kAngleDecimals},
    {"input_s2_beta", "s2 azimuth", kAngleDecimals},
    {"input_s2_psi", "s2 dip", kAngleDecimals},
    {"input_s3_beta", "s3 azimuth", kAngleDecimals},
    {"input_s3_psi", "s3 dip", kAngleDecimals},
    {"edtL1", "s1 direction cosine L (x)", kCosineDecimals},
    {"edtM1", "s1 direction cosine M (y)", kCosineDecimals},
    {"edtN1", "s1 direction cosine N (z)", kCosineDecimals},
    {"edtL2", "s2 direction cosine L (x)", kCosineDecimals},
    {"edtM2", "s2 direction cosine M (y)", kCosineDecimals},
    {"edtN2", "s2 direction cosine N (z)", kCosineDecimals},
    {"edtL3", "s3 direction cosine L (x)", kCosineDecimals},
    {"edtM3", "s3 direction cosine M (y)", kCosineDecimals},
    {"edtN3", "s3 direction cosine N (z)", kCosineDecimals},
    {"input_sigma", "normal stress on joint", kStressDecimals},
    {"input_tau", "shear stress on joint", kStressDecimals},
    {"input_taulim", "limiting shear stress on joint", kStressDecimals},
}};

std::array<std::optional<double>, kResultCount> ResultValues(const PassResults& results) {
  std::array<std::optional<double>, kResultCount> values;
  if (results.values.has_value()) {
    for (int i = 0; i < 3; ++i)
      values[i] = (*results.values)[i];
  }
  for (int i = 0; i < 3; ++i) {
    if (const auto& d = results.directions[i]) {
      values[3 + 2 * i] = d->azimuth;
      values[4 + 2 * i] = d->dip;
    }
  }
  if (results.cosines.has_value()) {
    for (int i = 0; i < 3; ++i) {
      const stress::Vector3& column = (*results.cosines)[i];
      values[9 + 3 * i] = column.x;
      values[10 + 3 * i] = column.y;
      values[11 + 3 * i] = column.z;
    }
  }
  if (results.jointStresses.has_value()) {
    values[18] = results.jointStresses->sigma;
    values[19] = results.jointStresses->tau;
    values[20] = results.jointStresses->tauLim;
  }
  return values;
}

QList<ResultRow> ResultRows(const PassResults& results, const Separators& separators) {
  const auto values = ResultValues(results);
  QList<ResultRow> rows;
  for (int i = 0; i < kResultCount; ++i) {
    rows.append({QString::fromUtf8(kShownResults[i].name),
                 Optional(values[i], kShownResults[i].decimals, separators)});
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
}};

std::array<QString, kDerivedCount> DerivedTexts(const PassResults& results,
                                                const Separators& separators) {
  std::array<QString, kDerivedCount> texts;
  texts.fill(NoValueText());
  const auto set = [&texts](Derived which, const QString& text) {
    texts[static_cast<std::size_t>(which)] = text;
  };
  const auto number = [&separators](double value, int decimals) {
    return Number(value, decimals, separators);
  };

  if (results.values.has_value()) {
    const stress::PrincipalValues& v = *results.values;
    const analysis::StressMeasures m = analysis::ComputeStressMeasures(v);
    set(Derived::kMeanStress, number(m.meanStress, kStressDecimals));
    set(Derived::kMaxShear, number(m.maxShear, kStressDecimals));
    set(Derived::kVonMises, number(m.vonMises, kStressDecimals));
    set(Derived::kOctahedralShear, number(m.octahedralShear, kStressDecimals));
    set(Derived::kStressRatio, Optional(m.stressRatio, kRatioDecimals, separators));
    if (results.HasDirections()) {
      const auto regime = analysis::RegimeOf(
          v, results.directions[0]->dip, results.directions[1]->dip, results.directions[2]->dip);
      if (regime.has_value())
        set(Derived::kRegime, RegimeText(*regime));
    }
    if (results.jointStresses.has_value()) {
      const analysis::JointAssessment a = analysis::AssessJoint(v, *results.jointStresses);
      set(Derived::kSlipTendency, Optional(a.slipTendency, kRatioDecimals, separators));
      set(Derived::kDilationTendency, Optional(a.dilationTendency, kRatioDecimals, separators));
      set(Derived::kFactorOfSafety, std::isinf(a.factorOfSafety) && a.factorOfSafety > 0.0
                                        ? QString(QChar(0x221e))
                                        : number(a.factorOfSafety, kRatioDecimals));
      set(Derived::kJointState, JointStateText(a.state));
    }
  }
  if (results.state.has_value()) {
    const analysis::HorizontalStresses h = analysis::ComputeHorizontalStresses(*results.state);
    set(Derived::kVerticalStress, number(h.sv, kStressDecimals));
    set(Derived::kShMax, number(h.shMax, kStressDecimals));
    set(Derived::kShMin, number(h.shMin, kStressDecimals));
    set(Derived::kShMaxAzimuth, Optional(h.shMaxAzimuth, kAngleDecimals, separators));
  }
  return texts;
}

QList<ResultRow> DerivedRows(const PassResults& results, const Separators& separators) {
  const auto texts = DerivedTexts(results, separators);
  QList<ResultRow> rows;
  for (int i = 0; i < kDerivedCount; ++i)
    rows.append({QString::fromUtf8(kDerivedQuantities[i].name), texts[i]});
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

}  // namespace ui
