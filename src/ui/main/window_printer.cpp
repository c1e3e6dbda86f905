#include "ui/main/window_printer.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QPrinterInfo>
#include <QWidget>
#include <cmath>
#include <stdexcept>

namespace ui {
namespace {

// Renders `area` as it looks, but without the focus frame and text cursor of
// the control that has the keyboard focus: the focus leaves for the time of
// the rendering and comes back afterwards, with a line edit's selection.
QImage RenderWithoutFocus(QWidget* area) {
  QPointer<QWidget> focus = QApplication::focusWidget();
  if (focus && !area->isAncestorOf(focus))
    focus = nullptr;

  auto* edit = qobject_cast<QLineEdit*>(focus.data());
  const int selectionStart = edit ? edit->selectionStart() : -1;
  const int selectionLength = edit ? edit->selectionLength() : 0;
  const int cursor = edit ? edit->cursorPosition() : 0;
  if (focus)
    focus->clearFocus();

  // The background is filled first, so that controls without a background of
  // their own show the window's colour as they do on the screen.
  QImage image(area->size(), QImage::Format_RGB32);
  image.fill(area->palette().color(area->backgroundRole()));
  area->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

  if (focus) {
    focus->setFocus(Qt::OtherFocusReason);
    if (edit && selectionStart >= 0) {
      edit->setSelection(selectionStart, selectionLength);
      if (cursor == selectionStart)
        edit->setSelection(selectionStart + selectionLength, -selectionLength);
    } else if (edit) {
      edit->setCursorPosition(cursor);
    }
  }
  return image;
}

// value * numerator / denominator, multiplied first, rounded to the nearest integer.
int Scale(int value, int numerator, int denominator) {
  return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

}  // namespace

void PrintClientArea(QWidget* clientArea) {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull())
    throw std::runtime_error("There is no default printer currently selected");

  QPrinter printer(info, QPrinter::HighResolution);
  // Full-page mode puts (0, 0) at the corner of the paper rather than at the
  // driver's margins, so the picture starts at the page's top-left.
  printer.setFullPage(true);
  if (!printer.isValid())
    throw std::runtime_error("Printer selected is not valid");

  const QImage image = RenderWithoutFocus(clientArea);

  QPainter painter;
  if (!painter.begin(&printer))
    throw std::runtime_error("Printer selected is not valid");

  // A picture of controls and text; JPEG would blur its edges.
  painter.setRenderHint(QPainter::LosslessImageRendering);
  // Printed at the physical size the window has on the screen.
  const QRect target(0, 0, Scale(image.width(), printer.logicalDpiX(), clientArea->logicalDpiX()),
                     Scale(image.height(), printer.logicalDpiY(), clientArea->logicalDpiY()));
  painter.drawImage(target, image);
  painter.end();
}

}  // namespace ui
