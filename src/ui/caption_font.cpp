#include "ui/caption_font.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <cmath>
#include <vector>

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
  // Measured once in the face as it is, tightest caption first: a face that
  // is too wide is then told by its first caption, while a face that fits
  // has to measure them all. Advances shrink about in proportion to the
  // stretch, so the guess is the stretch at which the tightest caption would
  // just fit if they did so exactly.
  struct Caption {
    const QLabel* label;
    double room;  // width / advance in the face as it is
  };
  const QFontMetrics metrics(font);
  std::vector<Caption> captions;
  for (const QLabel* label : labels) {
    const int advance = metrics.horizontalAdvance(label->text());
    captions.push_back({label, advance > 0 ? static_cast<double>(label->width()) / advance : 1e9});
  }
  std::stable_sort(captions.begin(), captions.end(),
                   [](const Caption& a, const Caption& b) { return a.room < b.room; });
  if (captions.empty() || captions.front().room >= 1.0)
    return font;
  // Each stretch asked about loads a face, which is what the search keeps rare.
  QFont condensed = font;
  const auto fits = [&condensed, &captions](int stretch) {
    condensed.setStretch(stretch);
    const QFontMetrics narrower(condensed);
    return std::all_of(captions.begin(), captions.end(), [&narrower](const Caption& c) {
      return narrower.horizontalAdvance(c.label->text()) <= c.label->width();
    });
  };
  const int guess =
      static_cast<int>(std::floor(captions.front().room * static_cast<int>(QFont::Unstretched)));
  condensed.setStretch(WidestFittingStretch(narrowest, QFont::Unstretched, guess, fits));
  return condensed;
}

}  // namespace ui
