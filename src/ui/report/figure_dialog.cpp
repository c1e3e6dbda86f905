#include "ui/report/figure_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

#include "ui/common/file_places.h"

namespace ui {

FigureChoice UsualSize(FigureChoice choice) {
  const bool net = choice.kind == figures::FigureKind::kNet;
  choice.widthMm = net ? 120.0 : 160.0;
  choice.heightMm = net ? 130.0 : 110.0;
  return choice;
}

FigureDialog::FigureDialog(const FigureChoice& choice, QWidget* parent) : QDialog(parent) {
  kind_ = choice.kind;
  setObjectName(QStringLiteral("FigureDialog"));
  setWindowTitle(QStringLiteral("Export figure"));
  auto* form = new QFormLayout(this);

  figure_ = new QComboBox(this);
  figure_->setObjectName(QStringLiteral("cboFigure"));
  figure_->addItems({QStringLiteral("Equal-area net"), QStringLiteral("Mohr diagram")});
  figure_->setCurrentIndex(choice.kind == figures::FigureKind::kNet ? 0 : 1);
  // The slip probability curves are the one figure of their window.
  if (choice.kind != figures::FigureKind::kSlipProbability)
    form->addRow(QStringLiteral("&Figure:"), figure_);
  else
    figure_->hide();

  format_ = new QComboBox(this);
  format_->setObjectName(QStringLiteral("cboFormat"));
  format_->addItems({QStringLiteral("PNG image"), QStringLiteral("SVG drawing (vector)")});
  format_->setCurrentIndex(choice.format == figures::FigureFormat::kPng ? 0 : 1);
  form->addRow(QStringLiteral("F&ormat:"), format_);

  const auto millimetres = [this](const char* name, double value) {
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(QLatin1String(name));
    box->setRange(10.0, 2000.0);
    box->setDecimals(0);
    box->setSuffix(QStringLiteral(" mm"));
    box->setValue(value);
    return box;
  };
  width_ = millimetres("spnWidth", choice.widthMm);
  height_ = millimetres("spnHeight", choice.heightMm);
  form->addRow(QStringLiteral("&Width:"), width_);
  form->addRow(QStringLiteral("&Height:"), height_);

  dpi_ = new QSpinBox(this);
  dpi_->setObjectName(QStringLiteral("spnDpi"));
  dpi_->setRange(30, 2400);
  dpi_->setSuffix(QStringLiteral(" dpi"));
  dpi_->setValue(choice.dpi);
  form->addRow(QStringLiteral("&Resolution:"), dpi_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Save..."));
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  const auto followFormat = [this] { dpi_->setEnabled(format_->currentIndex() == 0); };
  connect(format_, &QComboBox::currentIndexChanged, this, followFormat);
  followFormat();
  connect(figure_, &QComboBox::currentIndexChanged, this, [this] {
    const FigureChoice usual = UsualSize(Choice());
    width_->setValue(usual.widthMm);
    height_->setValue(usual.heightMm);
  });
}

FigureChoice FigureDialog::Choice() const {
  FigureChoice choice;
  choice.kind =
      figure_->currentIndex() == 0 ? figures::FigureKind::kNet : figures::FigureKind::kMohr;
  choice.format =
      format_->currentIndex() == 0 ? figures::FigureFormat::kPng : figures::FigureFormat::kSvg;
  choice.widthMm = width_->value();
  choice.heightMm = height_->value();
  choice.dpi = dpi_->value();
  return choice;
}

QString AskFigurePath(QWidget* parent, const FigureChoice& choice) {
  const bool png = choice.format == figures::FigureFormat::kPng;
  const QString suffix = png ? QStringLiteral("png") : QStringLiteral("svg");
  QFileDialog dialog(parent, QStringLiteral("Export figure"));
  dialog.setObjectName(QStringLiteral("FigureFileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(png ? QStringLiteral("PNG images (*.png)")
                           : QStringLiteral("SVG drawings (*.svg)"));
  dialog.setDefaultSuffix(suffix);
  dialog.setDirectory(LastFolder(QStringLiteral("figure")));
  const QString name = choice.kind == figures::FigureKind::kNet ? QStringLiteral("net")
                       : choice.kind == figures::FigureKind::kMohr
                           ? QStringLiteral("mohr")
                           : QStringLiteral("slip-probability");
  dialog.selectFile(QStringLiteral("kelvane-%1.%2").arg(name, suffix));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  QString path = dialog.selectedFiles().front();
  // A name with another suffix still gets the chosen format's.
  if (!path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
    path += QLatin1Char('.') + suffix;
  RememberFolder(QStringLiteral("figure"), path);
  return path;
}

}  // namespace ui
