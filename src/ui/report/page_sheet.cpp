#include "ui/report/page_sheet.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace ui {

Sheet::Sheet(QPainter& painter, double unitsPerPoint)
    : painter_(painter), unit_(unitsPerPoint), origin_(kPageMargin, kPageMargin) {}

QPointF Sheet::At(double x, double y) const {
  return {(origin_.x() + x) * unit_, (origin_.y() + y) * unit_};
}

QRectF Sheet::Box(double x, double y, double width, double height) const {
  return {At(x, y), QSizeF(width * unit_, height * unit_)};
}

QFont Sheet::Font(double points, bool bold) {
  QFont font(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
  font.setPointSizeF(points);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

void Sheet::Text(const QRectF& box, int flags, const QString& text, const QFont& font,
                 const QColor& colour) {
  painter_.setFont(font);
  painter_.setPen(colour);
  painter_.drawText(box, flags, text);
}

void Sheet::Text(double x, double y, double width, double height, int flags, const QString& text,
                 const QFont& font, const QColor& colour) {
  Text(Box(x, y, width, height), flags, text, font, colour);
}

void Sheet::Rule(double x, double y, double width, const QColor& colour) {
  painter_.setPen(QPen(colour, 0.5 * unit_));
  painter_.drawLine(At(x, y), At(x + width, y));
}

double Sheet::Heading(double x, double y, double width, const QString& text) {
  Text(x, y, width, 16.0, Qt::AlignLeft | Qt::AlignTop, text, Font(kHeadingPoints, true));
  return y + 18.0;
}

double Sheet::Note(double x, double y, double width, const QString& text) {
  const QFont font = Font(kSmallPoints);
  painter_.setFont(font);
  const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
  const QRectF bound = painter_.boundingRect(Box(x, y, width, 1000.0), flags, text);
  Text(Box(x, y, width, 1000.0), flags, text, font, kNoteGrey);
  return y + bound.height() / unit_ + 4.0;
}

QFont Sheet::Fitted(const Cell& cell, double width) const {
  QFont font = Font(cell.points, cell.bold);
  const double advance = QFontMetricsF(font, painter_.device()).horizontalAdvance(cell.text);
  const double room = (width - 2.0) * unit_;
  if (advance > room)
    font.setPointSizeF(std::max(kSmallestPoints, cell.points * room / advance));
  return font;
}

double Sheet::Table(double x, double y, const std::vector<Column>& columns,
                    const std::vector<std::vector<Cell>>& rows, double rowHeight) {
  for (const std::vector<Cell>& row : rows) {
    double left = x;
    for (std::size_t i = 0; i < row.size() && i < columns.size(); ++i) {
      const Cell& cell = row[i];
      Text(left, y, columns[i].width, rowHeight, columns[i].alignment | Qt::AlignVCenter, cell.text,
           Fitted(cell, columns[i].width), cell.colour);
      left += columns[i].width;
    }
    y += rowHeight;
  }
  return y;
}

}  // namespace ui
