#include "ui/caption_font.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

namespace ui {

int WidestFittingStretch(int narrowest, int above, const std::function<bool(int)>& fits) {
  // fits(high) is false or not asked; fits(low) is true or low is narrowest.
  int low = narrowest;
  int high = above;
  while (high - low > 1) {
    const int middle = low + (high - low) / 2;
    if (fits(middle))
      low = middle;
    else
      high = middle;
  }
  return low;
}

QFont CondensedToFit(const QFont& font, const QList<QLabel*>& labels, int narrowest) {
  const auto captionsFit = [&labels](const QFont& candidate) {
    const QFontMetrics metrics(candidate);
    return std::all_of(labels.begin(), labels.end(), [&metrics](const QLabel* label) {
      return metrics.horizontalAdvance(label->text()) <= label->width();
    });
  };
  if (captionsFit(font))
    return font;
  // Each stretch asked about loads a face: that is the time the bisection saves.
  QFont condensed = font;
  const int stretch =
      WidestFittingStretch(narrowest, QFont::Unstretched, [&condensed, &captionsFit](int s) {
        condensed.setStretch(s);
        return captionsFit(condensed);
      });
  condensed.setStretch(stretch);
  return condensed;
}

}  // namespace ui
