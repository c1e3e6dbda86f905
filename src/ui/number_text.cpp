#include "ui/number_text.h"

namespace ui {

Separators SeparatorsOf(const QLocale&) { return {}; }
ConversionError::ConversionError(const QString& text)
    : std::runtime_error(QStringLiteral("'%1' is not a valid floating point value").arg(text).toStdString()) {}
double ReadNumber(const QString&, const Separators&) { return 0.0; }
QString FormatNumber(double, int, const Separators&) { return {}; }

}  // namespace ui
