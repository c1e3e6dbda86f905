#pragma once
// The net's 0x00BBGGRR colours as Qt colours.

#include <QColor>

#include "projection/colour.h"

namespace ui {

inline QColor ToQColor(projection::Colour colour) {
  return QColor(projection::RedOf(colour), projection::GreenOf(colour), projection::BlueOf(colour));
}

}  // namespace ui
