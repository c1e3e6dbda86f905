#include "ui/common/caption_font.h"

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

QFont CondensedToFit(const QFont& font, const QList<QLabel*>& labels, int narrowest, int guess) {
  // Every face asked about is loaded and its glyphs measured, so the search
  // asks as few as it can, and never measures in the face as it is unless it
  // has to: that face is not drawn with once the captions are condensed.
  // Captions are measured tightest first, so that a face too wide is told by
  // its first caption: a caption that did not fit goes to the front, and a
  // face where all fit orders them by the room they leave.
  struct Caption {
    const QLabel* label;
    int room;  // label width - text advance, in the face last measured whole
  };
  std::vector<Caption> captions;
  for (const QLabel* label : labels)
    captions.push_back({label, 0});
  const auto fits = [&font, &captions](int stretch) {
    QFont face = font;
    if (stretch != QFont::Unstretched)
      face.setStretch(stretch);
    const QFontMetrics metrics(face);
    for (auto it = captions.begin(); it != captions.end(); ++it) {
      const int room = it->label->width() - metrics.horizontalAdvance(it->label->text());
      if (room < 0) {
        std::rotate(captions.begin(), it, it + 1);
        return false;
      }
      it->room = room;
    }
    std::stable_sort(captions.begin(), captions.end(),
                     [](const Caption& a, const Caption& b) { return a.room < b.room; });
    return true;
  };
  const int stretch = WidestFittingStretch(narrowest, QFont::Unstretched + 1, guess, fits);
  if (stretch == QFont::Unstretched)
    return font;
  QFont condensed = font;
  condensed.setStretch(stretch);
  return condensed;
}

}  // namespace ui
