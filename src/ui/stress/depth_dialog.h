#pragma once
// "From depth and gradients": Sv, SHmax, Shmin and Pp at a depth, shown live
// as the user types, with the Anderson regime they form. Depths in metres
// with gradients in MPa/km, or feet with psi/ft; the SHmax azimuth is always
// clockwise from North.

#include <QDialog>
#include <QString>
#include <array>

#include "analysis/stress_builders.h"
#include "text/number_text.h"
#include "text/shown_fields.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace ui {

class NumberFields;

/// What the user typed, kept between showings of the dialog.
struct DepthTexts {
  /// False for the built-in defaults, written with ".", which the dialog
  /// shows in the user's format.
  bool typed = false;
  analysis::UnitSystem units = analysis::UnitSystem::kMegapascalMetre;
  bool svFromDensity = false;
  /// depth, Sv gradient, density, SHmax, Shmin and Pp gradients, SHmax azimuth
  std::array<QString, 7> numbers = {
      QStringLiteral("2000"), QStringLiteral("25"), QStringLiteral("2.5"), QStringLiteral("30"),
      QStringLiteral("18"),   QStringLiteral("10"), QStringLiteral("0")};
};

class DepthDialog : public QDialog {
  Q_OBJECT

 public:
  DepthDialog(const DepthTexts& last, const text::Separators& separators, QWidget* parent);

  DepthTexts Texts() const;
  /// The profile typed; meaningful while every field holds a number.
  analysis::DepthProfile Profile() const;

 private:
  void UnitsChanged();
  void SvSourceChanged();
  void Summarize();

  text::Separators separators_;
  NumberFields* fields_ = nullptr;
  QComboBox* units_ = nullptr;
  QRadioButton* byGradient_ = nullptr;
  QRadioButton* byDensity_ = nullptr;
  std::array<QLineEdit*, 7> boxes_{};
  std::array<QLabel*, 7> unitLabels_{};
  QLabel* summary_ = nullptr;
};

}  // namespace ui
