#pragma once
// "From principal stresses": s1, s2, s3 and the azimuth and dip of the s1
// and s3 axes, azimuths in the window's convention. OK builds the tensor; it
// refuses, naming the problem, unsorted values or axes that are not
// perpendicular within 2 degrees, and the dialog stays open.

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

#include "stress/stress_state.h"
#include "text/number_text.h"

class QLabel;
class QLineEdit;

namespace ui {

class NumberFields;

/// What the user typed, kept between showings: s1, s2, s3, the s1 axis's
/// azimuth and dip, the s3 axis's azimuth and dip.
struct PrincipalTexts {
  /// False for the built-in defaults, written with ".", which the dialog
  /// shows in the user's format.
  bool typed = false;
  std::array<QString, 7> numbers = {
      QStringLiteral("30"), QStringLiteral("20"), QStringLiteral("10"), QStringLiteral("0"),
      QStringLiteral("90"), QStringLiteral("90"), QStringLiteral("0")};
};

class PrincipalDialog : public QDialog {
  Q_OBJECT

 public:
  PrincipalDialog(const PrincipalTexts& last, stress::Azimuth convention,
                  const text::Separators& separators, QWidget* parent);

  PrincipalTexts Texts() const;
  /// The tensor built when the dialog was accepted.
  const std::optional<stress::StressState>& State() const { return state_; }

  void accept() override;

 private:
  stress::Azimuth convention_;
  NumberFields* fields_ = nullptr;
  std::array<QLineEdit*, 7> boxes_{};
  QLabel* problem_ = nullptr;
  std::optional<stress::StressState> state_;
};

}  // namespace ui
