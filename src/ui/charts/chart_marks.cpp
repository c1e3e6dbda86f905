#include "ui/charts/chart_marks.h"

namespace ui {

QImage CrossImage(const QColor& colour) {
  QImage image(kCrossSize, kCrossSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  for (int i = 0; i < kCrossSize; ++i) {
    image.setPixelColor(i, kCrossArm, colour);
    image.setPixelColor(kCrossArm, i, colour);
  }
  return image;
}

QString LiteralLabelFormat(const QString& label) {
  // Invisible and zero-width.
  constexpr char16_t kWordJoiner = u'\u2060';
  QString text = label;
  text.replace(QLatin1Char('@'), QString(QLatin1Char('@')) + QChar(kWordJoiner));
  return text;
}

}  // namespace ui
