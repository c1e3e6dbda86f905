#pragma once
// The results of a pass (engine/pass_results.h) as named texts: the inputs,
// the 21 results in the order the pass writes them (text/shown_fields.h), and
// the quantities derived from them (analysis/). Every number is written with
// FormatNumber and the separators given, with the decimals of its field;
// ratios with 3. A value that the pass did not compute, or that has none,
// shows NoValueText().
// A view, the clipboard and a printed report all take their texts from here.

#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "engine/pass_results.h"
#include "text/number_text.h"
#include "text/shown_fields.h"

namespace text {

/// The text of a quantity without a value: an em dash.
QString NoValueText();

/// `name` with the stress unit: "Mean stress p (MPa)"; `name` alone when no
/// unit is named. The unit labels numbers and never scales them.
QString WithUnit(const QString& name, const QString& unit);

/// One named text.
struct ResultRow {
  QString name;
  QString value;
};

/// An input as the user would type it in the current format: up to 15
/// significant digits, no trailing zeros ("3.4", "-1", "1,000").
QString InputText(double value, const Separators& separators);

/// sx, sy, sz, txy, tyz, tzx as read; with the joint active, its dip
/// direction, dip, friction angle and cohesion; then the azimuth convention
/// and the pore pressure of the pass.
/// Inputs the pass did not read show kNoValue.
/// With a stress unit named, a last row "stress unit".
QList<ResultRow> InputRows(const engine::PassResults& results, const Separators& separators,
                           const QString& unit = {});

/// The text `field` shows after the pass: its value with the field's
/// decimals, or NoValueText() where the pass did not write it.
QString ShownText(const engine::PassResults& results, Field field, const Separators& separators);
/// The 21 results, named as their fields, in the order the pass writes them.
QList<ResultRow> ResultRows(const engine::PassResults& results, const Separators& separators);

/// The derived quantities, in this order.
enum class Derived {
  kMeanStress,
  kMaxShear,
  kVonMises,
  kOctahedralShear,
  kStressRatio,
  kVerticalStress,
  kShMax,
  kShMin,
  kShMaxAzimuth,
  kRegime,
  kSlipTendency,
  kDilationTendency,
  kFactorOfSafety,
  kJointState,
  kEffectiveS1,
  kEffectiveS2,
  kEffectiveS3,
  kEffectiveSigma,
  kEffectiveTauLim,
  kSlipTendencyMax,
  kNormalizedSlipTendency,
  kCoulombFailure,
  kPorePressureToSlip,
};
inline constexpr int kDerivedCount = 23;

struct DerivedQuantity {
  const char* objectName;  ///< of the box that shows it
  const char* name;        ///< UTF-8
  const char* shortName;   ///< UTF-8, for a narrow table
};
extern const std::array<DerivedQuantity, kDerivedCount> kDerivedQuantities;

/// The name of derived quantity `which` as shown for a pass measuring
/// azimuths by `convention`: the table's name, or its short name, and for the
/// SHmax azimuth the convention too ("SHmax azimuth (clockwise from North)").
/// Stresses take the unit (WithUnit).
QString DerivedName(Derived which, stress::Azimuth convention, bool shortName = false,
                    const QString& unit = {});

/// The texts of the derived quantities, entry i for kDerivedQuantities[i]:
/// the measures, the effective values and the regime once the principal
/// values (and, for the regime, all three axes) are known; the horizontal
/// stresses once the state was read; the joint's assessment, on effective
/// stress, once its results were written. The joint's state names the
/// effective stresses (primed) when the pore pressure is not 0.
std::array<QString, kDerivedCount> DerivedTexts(const engine::PassResults& results,
                                                const Separators& separators);
QList<ResultRow> DerivedRows(const engine::PassResults& results, const Separators& separators,
                             const QString& unit = {});

/// One "name<TAB>value" line per row, each ended by a line feed.
QString PlainTextTable(const QList<ResultRow>& rows);
/// An HTML document holding one two-column table of the rows.
QString HtmlTable(const QList<ResultRow>& rows);

}  // namespace text
