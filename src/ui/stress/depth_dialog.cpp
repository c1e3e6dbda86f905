#include "ui/stress/depth_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/stress/number_fields.h"

namespace ui {
namespace {

enum Box { kDepth, kSvGradient, kDensity, kShMax, kShMin, kPp, kAzimuth };

constexpr const char* kBoxNames[] = {"depthDepth", "depthSvGradient", "depthDensity", "depthShMax",
                                     "depthShMin", "depthPp",         "depthAzimuth"};
constexpr const char* kCaptions[] = {
    "Depth:",          "Sv gradient:",    "Overburden density:",
    "SHmax gradient:", "Shmin gradient:", "Pore pressure gradient:",
    "SHmax azimuth:"};

bool Metric(analysis::UnitSystem units) {
  return units == analysis::UnitSystem::kMegapascalMetre;
}

}  // namespace

DepthDialog::DepthDialog(const DepthTexts& last, const text::Separators& separators,
                         QWidget* parent)
    : QDialog(parent), separators_(separators) {
  setObjectName(QStringLiteral("DepthDialog"));
  setWindowTitle(QStringLiteral("Stress from depth and gradients"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  fields_ = new NumberFields(separators, buttons->button(QDialogButtonBox::Ok), this);

  auto* form = new QFormLayout;
  units_ = new QComboBox(this);
  units_->setObjectName(QStringLiteral("depthUnits"));
  units_->addItem(QStringLiteral("MPa, depth in m, gradients in MPa/km"));
  units_->addItem(QStringLiteral("psi, depth in ft, gradients in psi/ft"));
  units_->setCurrentIndex(Metric(last.units) ? 0 : 1);
  form->addRow(QStringLiteral("Units:"), units_);

  byGradient_ = new QRadioButton(QStringLiteral("from its gradient"), this);
  byGradient_->setObjectName(QStringLiteral("depthSvByGradient"));
  byDensity_ = new QRadioButton(QStringLiteral("from the overburden density"), this);
  byDensity_->setObjectName(QStringLiteral("depthSvByDensity"));
  (last.svFromDensity ? byDensity_ : byGradient_)->setChecked(true);
  auto* svChoice = new QHBoxLayout;
  svChoice->addWidget(byGradient_);
  svChoice->addWidget(byDensity_);

  for (int i = 0; i < 7; ++i) {
    QString typed = last.numbers[static_cast<std::size_t>(i)];
    if (!last.typed)
      typed.replace(QLatin1Char('.'), separators.decimal);
    auto* box = new QLineEdit(typed, this);
    box->setObjectName(QLatin1String(kBoxNames[i]));
    auto* unit = new QLabel(this);
    unit->setMinimumWidth(90);
    auto* row = new QHBoxLayout;
    row->addWidget(box, 1);
    row->addWidget(unit);
    if (i == kSvGradient)
      form->addRow(QStringLiteral("Vertical stress Sv:"), svChoice);
    form->addRow(QString::fromUtf8(kCaptions[i]), row);
    boxes_[static_cast<std::size_t>(i)] = box;
    unitLabels_[static_cast<std::size_t>(i)] = unit;
    fields_->Add(box);
  }
  unitLabels_[kAzimuth]->setText(QStringLiteral("\u00b0 clockwise from North"));
  unitLabels_[kDensity]->setText(QStringLiteral("g/cm\u00b3"));

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("depthSummary"));
  summary_->setWordWrap(true);
  summary_->setMinimumHeight(48);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(summary_);
  layout->addWidget(buttons);

  connect(units_, &QComboBox::currentIndexChanged, this, &DepthDialog::UnitsChanged);
  connect(byGradient_, &QRadioButton::toggled, this, &DepthDialog::SvSourceChanged);
  fields_->changed = [this] { Summarize(); };
  SvSourceChanged();
  UnitsChanged();
}

DepthTexts DepthDialog::Texts() const {
  DepthTexts t;
  t.typed = true;
  t.units = units_->currentIndex() == 0 ? analysis::UnitSystem::kMegapascalMetre
                                        : analysis::UnitSystem::kPsiFoot;
  t.svFromDensity = byDensity_->isChecked();
  for (std::size_t i = 0; i < boxes_.size(); ++i)
    t.numbers[i] = boxes_[i]->text();
  return t;
}

analysis::DepthProfile DepthDialog::Profile() const {
  const auto value = [this](int i) {
    return fields_->Value(boxes_[static_cast<std::size_t>(i)]).value_or(0.0);
  };
  analysis::DepthProfile p;
  p.units = Texts().units;
  p.depth = value(kDepth);
  p.verticalGradient = value(kSvGradient);
  if (byDensity_->isChecked())
    p.density = value(kDensity);
  p.shMaxGradient = value(kShMax);
  p.shMinGradient = value(kShMin);
  p.porePressureGradient = value(kPp);
  p.shMaxAzimuth = value(kAzimuth);
  return p;
}

void DepthDialog::UnitsChanged() {
  const bool metric = units_->currentIndex() == 0;
  unitLabels_[kDepth]->setText(metric ? QStringLiteral("m") : QStringLiteral("ft"));
  for (const int i : {kSvGradient, kShMax, kShMin, kPp})
    unitLabels_[i]->setText(metric ? QStringLiteral("MPa/km") : QStringLiteral("psi/ft"));
  Summarize();
}

// Only the box of the chosen source of Sv is typed into and checked.
void DepthDialog::SvSourceChanged() {
  boxes_[kSvGradient]->setEnabled(byGradient_->isChecked());
  boxes_[kDensity]->setEnabled(byDensity_->isChecked());
  fields_->Recheck();
}

void DepthDialog::Summarize() {
  if (!fields_->AllValid()) {
    summary_->setText(QStringLiteral("Type a number in each box."));
    return;
  }
  const analysis::DepthStresses s = analysis::StressesAtDepth(Profile());
  const QString unit = Metric(Texts().units) ? QStringLiteral(" MPa") : QStringLiteral(" psi");
  const auto number = [&](double v) {
    return text::FormatNumber(v, text::kStressDecimals, separators_) + unit;
  };
  QString regime = QStringLiteral("no Anderson regime (two stresses equal, or SHmax < Shmin)");
  if (s.regime == analysis::AndersonRegime::kNormal)
    regime = QStringLiteral("normal faulting regime (Sv largest)");
  else if (s.regime == analysis::AndersonRegime::kStrikeSlip)
    regime = QStringLiteral("strike-slip faulting regime (Sv between SHmax and Shmin)");
  else if (s.regime == analysis::AndersonRegime::kReverse)
    regime = QStringLiteral("reverse faulting regime (Sv smallest)");
  summary_->setText(
      QStringLiteral("Sv %1, SHmax %2, Shmin %3, Pp %4: %5.")
          .arg(number(s.sv), number(s.shMax), number(s.shMin), number(s.porePressure), regime));
}

}  // namespace ui
