#pragma once
// The probability that a plane slips against the pore-pressure increase, from
// a Monte Carlo run (engine/slip_probability.h): for each plane on show the
// share of realizations whose pressure to slip dPc is at most x, a step
// curve rising from 0 to 1. Painted onto any QPainter, for the window, the
// report and figure files. Stresses in the user's unit.

#include <QRectF>
#include <QRgb>
#include <QString>
#include <vector>

#include "text/number_text.h"

class QPainter;

namespace figures {

struct OddsCurve {
  QString label;  ///< the plane's ID, or "joint"
  QRgb colour = 0;
  std::vector<double> pressures;  ///< dPc of every realization that has one, ascending
};

/// A curve of `pressures` (any order; NaN dropped) labelled `label`.
OddsCurve OddsCurveOf(const QString& label, QRgb colour, std::vector<double> pressures);

/// The k-th of ten distinct colours for curves (Tableau 10).
QRgb CurveColour(int k);

/// Paints the curves in `box`: x "Pore pressure increase" (with `unit`), y
/// "Probability of slip" from 0 to 1, the legend at the top left; an empty
/// frame with a note when there is no curve.
void PaintOddsCurves(QPainter& painter, const QRectF& box, const std::vector<OddsCurve>& curves,
                     const QString& unit, const text::Separators& separators);

}  // namespace figures
