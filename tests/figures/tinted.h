#pragma once
// Whether antialiased ink of a colour lies on white at a pixel: the pixel's
// departure from white points the way the colour's does (a blend of the
// colour with white), at least a third as far.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <cmath>

namespace figures_testing {

inline bool Tinted(const QColor& pixel, const QColor& colour) {
  const double d[] = {255.0 - pixel.red(), 255.0 - pixel.green(), 255.0 - pixel.blue()};
  const double e[] = {255.0 - colour.red(), 255.0 - colour.green(), 255.0 - colour.blue()};
  double dd = 0.0;
  double ee = 0.0;
  double de = 0.0;
  for (int i = 0; i < 3; ++i) {
    dd += d[i] * d[i];
    ee += e[i] * e[i];
    de += d[i] * e[i];
  }
  return dd >= ee / 9.0 && de >= 0.97 * std::sqrt(dd * ee);
}

/// Some pixel of the 3 x 3 around `at` is tinted with `colour`.
inline bool TintedNear(const QImage& image, const QPointF& at, const QColor& colour) {
  const int cx = static_cast<int>(std::floor(at.x()));
  const int cy = static_cast<int>(std::floor(at.y()));
  for (int y = cy - 1; y <= cy + 1; ++y) {
    for (int x = cx - 1; x <= cx + 1; ++x) {
      if (image.valid(x, y) && Tinted(image.pixelColor(x, y), colour))
        return true;
    }
  }
  return false;
}

}  // namespace figures_testing
