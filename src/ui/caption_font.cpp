#include "ui/caption_font.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <cmath>

namespace ui {

int WidestFittingStretch(int narrowest, int above, int guess,
                         const std::function<bool(int)>& fits) {
  // fits(low) holds or low is narrowest; fits(high) fails or high is above.
  int low = narrowest;
  int high = above;
  if (high - low <= 1)
    return low;
  int probe = std::clamp(guess, low + 1, high - 1);
  if (fits(probe)) {
    low = probe;
    for (int step = 1; low + step < high; step *= 2) {
      if (!fits(low + step)) {
        high = low + step;
        break;
      }
      low += step;
    }
  } else {
    high = probe;
    for (int step = 1; high - step > low; step *= 2) {
      if (fits(high - step)) {
        low = high - step;
        break;
      }
      high -= step;
    }
  }
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
  // Each face asked about is loaded, which is what the search keeps rare.
  // Advances shrink about in proportion to the stretch, so the guess is the
  // stretch at which the tightest caption would just fit if they did exactly.
  const QFontMetrics metrics(font);
  double scale = 1.0;
  for (const QLabel* label : labels) {
    const int advance = metrics.horizontalAdvance(label->text());
    if (advance > label->width())
      scale = std::min(scale, static_cast<double>(label->width()) / advance);
  }
  if (scale >= 1.0)
    return font;
  QFont condensed = font;
  const int guess = static_cast<int>(std::floor(scale * static_cast<int>(QFont::Unstretched)));
  const int stretch =
      WidestFittingStretch(narrowest, QFont::Unstretched, guess, [&condensed, &captionsFit](int s) {
        condensed.setStretch(s);
        return captionsFit(condensed);
      });
  condensed.setStretch(stretch);
  return condensed;
}

}  // namespace ui
