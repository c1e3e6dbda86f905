#pragma once
// Number boxes of a dialog checked as the user types: a text that ReadNumber
// does not take, in the user's format, is marked (red text, the error as its
// tooltip) and keeps the dialog's OK button disabled. A disabled box is not
// checked.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "text/number_text.h"

class QLineEdit;
class QPushButton;

namespace ui {

class NumberFields : public QObject {
  Q_OBJECT

 public:
  /// Checks the fields in the user's `separators`; `ok` is enabled exactly
  /// while every field (and `extraCheck`, when set) is valid. `changed` runs
  /// after each edit, for a live summary.
  NumberFields(const text::Separators& separators, QPushButton* ok, QObject* parent);

  /// Adds `box` to the checked fields.
  void Add(QLineEdit* box);
  /// The number in `box`, or empty while its text is not one.
  std::optional<double> Value(QLineEdit* box) const;
  /// Whether every field holds a number.
  bool AllValid() const;
  /// Checks every field again, then enables OK and runs `changed`.
  void Recheck();

  std::function<void()> changed;

 private:
  text::Separators separators_;
  QPushButton* ok_;
  std::vector<QLineEdit*> boxes_;
};

}  // namespace ui
