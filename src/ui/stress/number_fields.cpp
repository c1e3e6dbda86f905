#include "ui/stress/number_fields.h"

#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <exception>

namespace ui {

NumberFields::NumberFields(const text::Separators& separators, QPushButton* ok, QObject* parent)
    : QObject(parent), separators_(separators), ok_(ok) {}

void NumberFields::Add(QLineEdit* box) {
  boxes_.push_back(box);
  connect(box, &QLineEdit::textChanged, this, &NumberFields::Recheck);
}

std::optional<double> NumberFields::Value(QLineEdit* box) const {
  try {
    return text::ReadNumber(box->text(), separators_);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

bool NumberFields::AllValid() const {
  for (QLineEdit* box : boxes_) {
    if (box->isEnabled() && !Value(box).has_value())
      return false;
  }
  return true;
}

void NumberFields::Recheck() {
  for (QLineEdit* box : boxes_) {
    QString problem;
    try {
      if (box->isEnabled())
        text::ReadNumber(box->text(), separators_);
    } catch (const std::exception& e) {
      problem = QString::fromUtf8(e.what());
    }
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, problem.isEmpty() ? QColor(Qt::black) : QColor(Qt::red));
    box->setPalette(palette);
    box->setToolTip(problem);
  }
  ok_->setEnabled(AllValid());
  if (changed)
    changed();
}

}  // namespace ui
