#include "ui/stress/uncertainty_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ui {
namespace {

using engine::Spread;
using engine::Uncertain;

struct Row {
  Uncertain input;
  const char* label;
};
// The friction row holds phi or mu, as frictionKind says.
constexpr Row kRows[] = {
    {Uncertain::kS1, "s1 (largest principal stress)"},
    {Uncertain::kS2, "s2"},
    {Uncertain::kS3, "s3"},
    {Uncertain::kAzimuth, "SHmax azimuth: turn about the vertical (\u00b0)"},
    {Uncertain::kFrame, "Principal frame: turn about a random axis (\u00b0)"},
    {Uncertain::kPorePressure, "Pore pressure Pp"},
    {Uncertain::kPhi, "Friction"},
    {Uncertain::kCohesion, "Cohesion c"},
    {Uncertain::kDipDirection, "Each plane's dip direction (\u00b0)"},
    {Uncertain::kDip, "Each plane's dip (\u00b0)"},
};

int IndexOf(Uncertain input) {
  return static_cast<int>(input);
}

}  // namespace

UncertaintyDialog::UncertaintyDialog(const engine::UncertaintySettings& settings, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("UncertaintyDialog"));
  setWindowTitle(QStringLiteral("Uncertainty"));
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Input"), this), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Distribution"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Half-width or \u03c3"), this), 0, 2);
  const bool mu = settings[Uncertain::kMu].shape != Spread::Shape::kNone;
  int line = 1;
  for (const Row& row : kRows) {
    const Uncertain input = row.input == Uncertain::kPhi && mu ? Uncertain::kMu : row.input;
    const Spread& spread = settings[input];
    auto* shape = new QComboBox(this);
    shape->addItems({QStringLiteral("None"), QStringLiteral("Uniform \u00b1"),
                     QStringLiteral("Normal \u03c3")});
    shape->setCurrentIndex(static_cast<int>(spread.shape));
    auto* width = new QDoubleSpinBox(this);
    width->setRange(0.0, 1e12);
    width->setDecimals(3);
    width->setValue(spread.width);
    const QString key = QString::fromLatin1(engine::UncertainName(row.input));
    shape->setObjectName(QStringLiteral("shape_") + key);
    width->setObjectName(QStringLiteral("width_") + key);
    // Typing a width with no distribution chosen takes the usual one.
    connect(width, &QDoubleSpinBox::valueChanged, shape, [shape](double value) {
      if (value > 0.0 && shape->currentIndex() == 0)
        shape->setCurrentIndex(1);
    });
    if (row.input == Uncertain::kPhi) {
      frictionKind_ = new QComboBox(this);
      frictionKind_->setObjectName(QStringLiteral("frictionKind"));
      frictionKind_->addItems({QStringLiteral("Friction angle \u03c6 (\u00b0)"),
                               QStringLiteral("Friction coefficient \u03bc")});
      frictionKind_->setCurrentIndex(mu ? 1 : 0);
      grid->addWidget(frictionKind_, line, 0);
    } else {
      grid->addWidget(new QLabel(QString::fromUtf8(row.label), this), line, 0);
    }
    grid->addWidget(shape, line, 1);
    grid->addWidget(width, line, 2);
    shapes_[IndexOf(row.input)] = shape;
    widths_[IndexOf(row.input)] = width;
    ++line;
  }

  realizations_ = new QSpinBox(this);
  realizations_->setObjectName(QStringLiteral("realizations"));
  realizations_->setRange(1, engine::SlipSampler::kMostRealizations);
  realizations_->setGroupSeparatorShown(true);
  realizations_->setValue(settings.realizations);
  auto* realizationsLabel = new QLabel(QStringLiteral("&Realizations"), this);
  realizationsLabel->setBuddy(realizations_);
  grid->addWidget(realizationsLabel, line, 0);
  grid->addWidget(realizations_, line++, 1);
  seed_ = new QLineEdit(QString::number(settings.seed), this);
  seed_->setObjectName(QStringLiteral("seed"));
  seed_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{1,19}")), seed_));
  auto* newSeed = new QPushButton(QStringLiteral("&New seed"), this);
  newSeed->setObjectName(QStringLiteral("newSeed"));
  connect(newSeed, &QPushButton::clicked, seed_, [this] {
    seed_->setText(QString::number(QRandomGenerator::global()->bounded(1000000000)));
  });
  auto* seedLabel = new QLabel(QStringLiteral("&Seed"), this);
  seedLabel->setBuddy(seed_);
  grid->addWidget(seedLabel, line, 0);
  grid->addWidget(seed_, line, 1);
  grid->addWidget(newSeed, line++, 2);

  auto* note = new QLabel(
      QStringLiteral("Each realization draws every input with an uncertainty; a plane slips in it "
                     "when it is at or past the Coulomb line (\u0394Pc \u2264 0) and opens when "
                     "\u03c3\u2032 < 0. A friction or cohesion drawn outside its range (\u03bc "
                     "\u2264 0, \u03c6 outside 0 to 90\u00b0, c < 0) is drawn again. The same "
                     "seed gives the same results."),
      this);
  note->setObjectName(QStringLiteral("uncertaintyNote"));
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Compute"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(note);
  layout->addWidget(buttons);
}

engine::UncertaintySettings UncertaintyDialog::Settings() const {
  engine::UncertaintySettings settings;
  for (const Row& row : kRows) {
    const int k = IndexOf(row.input);
    const Spread spread{static_cast<Spread::Shape>(shapes_[k]->currentIndex()),
                        widths_[k]->value()};
    const Uncertain input = row.input == Uncertain::kPhi && frictionKind_->currentIndex() == 1
                                ? Uncertain::kMu
                                : row.input;
    settings[input] = spread;
  }
  settings.realizations = realizations_->value();
  settings.seed = seed_->text().toULongLong();
  return settings;
}

}  // namespace ui
