#pragma once
// File > Export figure: which figure, its format, size and resolution, then
// where it goes. The figure itself is drawn by figures/figure_file.h.

#include <QDialog>
#include <QString>

#include "figures/figure_file.h"

class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

namespace ui {

/// What the dialog asks; kept by the window for its next showing.
struct FigureChoice {
  figures::FigureKind kind = figures::FigureKind::kNet;
  figures::FigureFormat format = figures::FigureFormat::kPng;
  double widthMm = 120.0;
  double heightMm = 130.0;
  int dpi = 300;
};

/// The dialog "Export figure" (objectName "FigureDialog"): the figure
/// ("cboFigure": the net or the Mohr diagram), the format ("cboFormat": PNG
/// or SVG), width and height in millimetres ("spnWidth", "spnHeight") and
/// the PNG's resolution ("spnDpi", unused for SVG). Choosing the other figure
/// proposes its usual size. For the slip probability curves there is no
/// figure to choose.
class FigureDialog : public QDialog {
  Q_OBJECT

 public:
  FigureDialog(const FigureChoice& choice, QWidget* parent = nullptr);
  FigureChoice Choice() const;

 private:
  QComboBox* figure_ = nullptr;
  QComboBox* format_ = nullptr;
  QDoubleSpinBox* width_ = nullptr;
  QDoubleSpinBox* height_ = nullptr;
  QSpinBox* dpi_ = nullptr;
  figures::FigureKind kind_;
};

/// The usual size of `kind`: 120 x 130 mm for the net (with its legend),
/// 160 x 110 mm for the Mohr diagram and the slip probability curves.
FigureChoice UsualSize(FigureChoice choice);

/// Asks where the figure goes: a save dialog "Export figure" (objectName
/// "FigureFileDialog") in the folder of the last figure, filtering and
/// adding the format's suffix. Empty when the user cancels.
QString AskFigurePath(QWidget* parent, const FigureChoice& choice);

}  // namespace ui
