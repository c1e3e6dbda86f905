#pragma once
// A painter with the units of a report page: every place and size in points
// (1/72 inch) from the top-left corner of the area inside the page's margins;
// fonts in points, resolved by the painter for its device.

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;

namespace ui {

/// The page's margin on every side, in points (15 mm).
inline constexpr double kPageMargin = 42.5;

inline constexpr double kTitlePoints = 20.0;
inline constexpr double kHeadingPoints = 11.0;
inline constexpr double kBodyPoints = 9.5;
inline constexpr double kSmallPoints = 8.0;
inline constexpr double kFooterPoints = 7.0;
/// The smallest size a cell's font is shrunk to.
inline constexpr double kSmallestPoints = 5.0;
inline constexpr double kRowHeight = 14.0;

inline const QColor kNoteGrey(90, 90, 90);
inline const QColor kRuleGrey(160, 160, 160);

/// A cell of a table: its text in a colour and size, plain or bold.
struct Cell {
  QString text;
  QColor colour = Qt::black;
  bool bold = false;
  double points = kBodyPoints;
};

struct Column {
  double width;
  Qt::Alignment alignment;
};

class Sheet {
 public:
  /// `unitsPerPoint`: device units of the painter per point.
  Sheet(QPainter& painter, double unitsPerPoint);

  QPainter& Painter() { return painter_; }
  double Unit() const { return unit_; }

  /// The device position of (x, y) points.
  QPointF At(double x, double y) const;
  /// The device rectangle of a box given in points.
  QRectF Box(double x, double y, double width, double height) const;

  /// The system's general face at `points`, glyph advances as designed (not
  /// rounded to the pixels of some screen).
  static QFont Font(double points, bool bold = false);

  void Text(const QRectF& box, int flags, const QString& text, const QFont& font,
            const QColor& colour = Qt::black);
  void Text(double x, double y, double width, double height, int flags, const QString& text,
            const QFont& font, const QColor& colour = Qt::black);

  /// A horizontal hairline (half a point) from (x, y), `width` long.
  void Rule(double x, double y, double width, const QColor& colour = kRuleGrey);

  /// A section's heading at (x, y); returns the y below it.
  double Heading(double x, double y, double width, const QString& text);

  /// Word-wrapped small grey text; returns the y below it.
  double Note(double x, double y, double width, const QString& text);

  /// The cell's font, made smaller where its text would not fit `width`
  /// points (a number with many digits), down to kSmallestPoints.
  QFont Fitted(const Cell& cell, double width) const;

  /// Rows of cells in columns, each row `rowHeight` high, vertically centred;
  /// returns the y below the last row.
  double Table(double x, double y, const std::vector<Column>& columns,
               const std::vector<std::vector<Cell>>& rows, double rowHeight = kRowHeight);

 private:
  QPainter& painter_;
  double unit_;
  QPointF origin_;
};

}  // namespace ui
