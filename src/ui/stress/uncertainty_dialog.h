#pragma once
// Stress > Uncertainty: how uncertain each input of the plane assessment is,
// the number of Monte Carlo realizations and the seed (engine/slip_probability.h).

#include <QDialog>
#include <array>

#include "engine/slip_probability.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QSpinBox;

namespace ui {

/// The dialog "Uncertainty" (objectName "UncertaintyDialog"): a row per input
/// (objectNames "shape_KEY" and "width_KEY", KEY as the command line names
/// it; phi and mu share the friction row, chosen by "frictionKind"), each
/// None, "Uniform ±" (the default shape once a width is typed) or "Normal σ";
/// "realizations" (default 10,000) and "seed" with "New seed".
class UncertaintyDialog : public QDialog {
  Q_OBJECT

 public:
  UncertaintyDialog(const engine::UncertaintySettings& settings, QWidget* parent = nullptr);
  engine::UncertaintySettings Settings() const;

 private:
  std::array<QComboBox*, engine::kUncertainCount> shapes_{};
  std::array<QDoubleSpinBox*, engine::kUncertainCount> widths_{};
  QComboBox* frictionKind_ = nullptr;
  QSpinBox* realizations_ = nullptr;
  QLineEdit* seed_ = nullptr;
};

}  // namespace ui
