#include "ui/common/application_style.h"

#include <QIconEngine>
#include <QPointer>
#include <QWidget>
#include <optional>

namespace ui {

namespace {

/// An icon engine that stands for a style's standard icon and asks the style
/// for it on the first request that needs its pixels or sizes. It keeps the
/// widget the icon was asked for as long as that lives.
class DeferredStyleIcon final : public QIconEngine {
 public:
  DeferredStyleIcon(QStyle* style, QStyle::StandardPixmap which, const QWidget* widget)
      : style_(style), which_(which), widget_(const_cast<QWidget*>(widget)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  // QIcon hands this engine the size in device pixels (the logical size
  // times `scale`); the style's own icon takes the logical size and scales
  // it itself, so the size goes back to logical pixels first.
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Icon().pixmap((QSizeF(size) / scale).toSize(), scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  /// Before the icon is asked for: false, as a style's standard icon has
  /// pixels (asking would read the image this engine is there to defer).
  bool isNull() override { return icon_ ? icon_->isNull() : false; }
  QString key() const override { return QStringLiteral("DeferredStyleIcon"); }
  QIconEngine* clone() const override { return new DeferredStyleIcon(*this); }

 private:
  const QIcon& Icon() {
    if (!icon_)
      icon_ = style_ ? style_->standardIcon(which_, nullptr, widget_) : QIcon();
    return *icon_;
  }

  QPointer<QStyle> style_;
  QStyle::StandardPixmap which_;
  QPointer<QWidget> widget_;  // only watched and handed back (QPointer takes no const)
  std::optional<QIcon> icon_;
};

}  // namespace

ApplicationStyle::ApplicationStyle(QStyle* base) : QProxyStyle(base) {}

QIcon ApplicationStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                     const QWidget* widget) const {
  // An option cannot be kept (its type is the caller's); such icons are
  // asked for at once.
  if (option != nullptr)
    return QProxyStyle::standardIcon(standardIcon, option, widget);
  return QIcon(new DeferredStyleIcon(baseStyle(), standardIcon, widget));
}

}  // namespace ui
