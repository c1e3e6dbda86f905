#include "ui/common/application_style.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStyleFactory>

#include "test_names.h"

namespace {

using test_names::RowName;

/// Fusion, counting the standard icons asked of it.
class CountingStyle : public QProxyStyle {
 public:
  CountingStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override {
    ++asked;
    return QProxyStyle::standardIcon(which, option, widget);
  }
  mutable int asked = 0;
};

// As the program sets it up: the application's style, before any widget.
TEST(ApplicationStyle, MenuBarReadsNoIconUntilItsExtensionIsDrawn) {
  auto* counting = new CountingStyle;
  QApplication::setStyle(new ui::ApplicationStyle(counting));
  QMainWindow window;
  auto* bar = new QMenuBar(&window);
  window.setMenuBar(bar);
  bar->addMenu(QStringLiteral("&File"));
  window.show();
  QImage painted(200, 40, QImage::Format_ARGB32);
  bar->render(&painted);
  EXPECT_EQ(counting->asked, 0);

  auto* extension = bar->findChild<QWidget*>(QStringLiteral("qt_menubar_ext_button"));
  ASSERT_NE(extension, nullptr);
  QImage button(32, 32, QImage::Format_ARGB32);
  extension->render(&button);
  EXPECT_EQ(counting->asked, 1);
}

// Every icon draws, at each size, the very pixels the base style's own does.
struct IconCase {
  const char* name;
  QStyle::StandardPixmap which;
  int size;
};
const IconCase kIcons[] = {
    {"menu_bar_extension", QStyle::SP_ToolBarHorizontalExtensionButton, 16},
    {"vertical_extension", QStyle::SP_ToolBarVerticalExtensionButton, 16},
    {"warning_box", QStyle::SP_MessageBoxWarning, 32},
    {"critical_box_large", QStyle::SP_MessageBoxCritical, 64},
    {"information_box", QStyle::SP_MessageBoxInformation, 32},
    {"ok_button", QStyle::SP_DialogOkButton, 16},
};
class IconTest : public ::testing::TestWithParam<IconCase> {};

QImage Drawn(const QIcon& icon, int size, qreal ratio = 1.0) {
  QImage image(qRound(size * ratio), qRound(size * ratio), QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  icon.paint(&painter, image.rect());
  return image;
}

TEST_P(IconTest, DrawsAsTheBaseStyle) {
  const IconCase& c = GetParam();
  std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  ui::ApplicationStyle style(QStyleFactory::create(QStringLiteral("Fusion")));
  const QIcon own = fusion->standardIcon(c.which);
  const QIcon deferred = style.standardIcon(c.which);
  EXPECT_EQ(deferred.isNull(), own.isNull());
  EXPECT_EQ(deferred.actualSize(QSize(c.size, c.size)), own.actualSize(QSize(c.size, c.size)));
  EXPECT_EQ(Drawn(deferred, c.size), Drawn(own, c.size));
  // On screens of higher density too: the same pixmap, size and ratio.
  for (const qreal ratio : {1.0, 1.5, 2.0}) {
    const QPixmap a = deferred.pixmap(QSize(c.size, c.size), ratio);
    const QPixmap b = own.pixmap(QSize(c.size, c.size), ratio);
    EXPECT_EQ(a.size(), b.size()) << ratio;
    EXPECT_EQ(a.devicePixelRatio(), b.devicePixelRatio()) << ratio;
    EXPECT_EQ(a.toImage(), b.toImage()) << ratio;
    EXPECT_EQ(Drawn(deferred, c.size, ratio), Drawn(own, c.size, ratio)) << ratio;
  }
}
INSTANTIATE_TEST_SUITE_P(Table, IconTest, ::testing::ValuesIn(kIcons), RowName());

}  // namespace
