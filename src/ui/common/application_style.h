#pragma once
// The application's style: the platform's own, with the images of its
// standard icons read only when an icon is first drawn. Creating a menu bar
// asks the style for the icon of its extension button (shown only when the
// menus overflow the bar, which this fixed-size window never lets happen);
// reading that image loads Qt's image format plugins, a good part of the
// program's start-up. Every icon draws exactly as the style's own.

#include <QProxyStyle>

namespace ui {

class ApplicationStyle : public QProxyStyle {
 public:
  /// Wraps `base`, or the platform's default style when it is null; the
  /// style takes ownership of `base`.
  explicit ApplicationStyle(QStyle* base = nullptr);

  /// The base style's icon, asked of it when the icon is first painted or
  /// measured, not now; at once when an option is given.
  QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace ui
