#pragma once
// The stored results of a pass (ui/pass_results.h) as named texts: the
// inputs, the 21 results in the order the pass writes them, and the
// quantities derived from them (analysis/). Every number is written with
// FormatNumber and the separators given: stresses with 3 decimals, angles
// with 2, direction cosines with 6, ratios with 3. A value that the pass did
// not compute, or that has none, shows kNoValue.
// A view, the clipboard and a printed report all take their texts from here.

#include <QList>
#include <QString>
#include <array>
#include <optional>

#include "ui/number_text.h"
#include "ui/pass_results.h"

namespace ui {

/// The text of a quantity without a value: an em dash.
QString NoValueText();

/// One named text.
struct ResultRow {
  QString name;
  QString value;
};

/// An input as the user would type it in the current format: up to 15
/// significant digits, no trailing zeros ("3.4", "-1", "1,000").
QString InputText(double value, const Separators& separators);

/// sx, sy, sz, txy, tyz, tzx as read; with the joint active, its dip
/// direction, dip, friction angle and cohesion; then the azimuth convention.
/// Inputs the pass did not read show kNoValue.
QList<ResultRow> InputRows(const PassResults& results, const Separators& separators);

/// One of the 21 result boxes.
struct ShownResult {
  const char* box;   ///< objectName of the main window's box
  const char* name;  ///< what it holds, as the box tells screen readers
  int decimals;
};
inline constexpr int kResultCount = 21;
extern const std::array<ShownResult, kResultCount> kShownResults;

/// The values of the 21 result boxes, in the order the pass writes them;
/// empty where the pass did not write the box.
std::array<std::optional<double>, kResultCount> ResultValues(const PassResults& results);
QList<ResultRow> ResultRows(const PassResults& results, const Separators& separators);

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
};
inline constexpr int kDerivedCount = 14;

struct DerivedQuantity {
  const char* objectName;  ///< of the box that shows it
  const char* name;        ///< UTF-8
  const char* shortName;   ///< UTF-8, for a narrow table
};
extern const std::array<DerivedQuantity, kDerivedCount> kDerivedQuantities;

/// The texts of the derived quantities, entry i for kDerivedQuantities[i]:
/// the measures and the regime once the principal values (and, for the
/// regime, all three axes) are known; the horizontal stresses once the state
/// was read; the joint's assessment once its results were written.
std::array<QString, kDerivedCount> DerivedTexts(const PassResults& results,
                                                const Separators& separators);
QList<ResultRow> DerivedRows(const PassResults& results, const Separators& separators);

/// One "name<TAB>value" line per row, each ended by a line feed.
QString PlainTextTable(const QList<ResultRow>& rows);
/// An HTML document holding one two-column table of the rows.
QString HtmlTable(const QList<ResultRow>& rows);

}  // namespace ui
