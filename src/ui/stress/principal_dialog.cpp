#include "ui/stress/principal_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/stress_builders.h"
#include "ui/stress/number_fields.h"

namespace ui {
namespace {

constexpr const char* kBoxNames[] = {"principalS1",        "principalS2",    "principalS3",
                                     "principalS1Azimuth", "principalS1Dip", "principalS3Azimuth",
                                     "principalS3Dip"};

}  // namespace

PrincipalDialog::PrincipalDialog(const PrincipalTexts& last, stress::Azimuth convention,
                                 const text::Separators& separators, QWidget* parent)
    : QDialog(parent), convention_(convention) {
  setObjectName(QStringLiteral("PrincipalDialog"));
  setWindowTitle(QStringLiteral("Stress from principal stresses"));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &PrincipalDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  fields_ = new NumberFields(separators, buttons->button(QDialogButtonBox::Ok), this);
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    QString typed = last.numbers[i];
    if (!last.typed)
      typed.replace(QLatin1Char('.'), separators.decimal);
    boxes_[i] = new QLineEdit(typed, this);
    boxes_[i]->setObjectName(QLatin1String(kBoxNames[i]));
    fields_->Add(boxes_[i]);
  }

  const QString azimuth = convention == stress::Azimuth::kClockwiseFromNorth
                              ? QStringLiteral("Azimuth (\u00b0 clockwise from North)")
                              : QStringLiteral("Azimuth (\u00b0 counter-clockwise from East)");
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Value"), this), 0, 1);
  grid->addWidget(new QLabel(azimuth, this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Dip (\u00b0 below horizontal)"), this), 0, 3);
  const char* names[] = {"s1", "s2", "s3"};
  for (int row = 0; row < 3; ++row)
    grid->addWidget(new QLabel(QLatin1String(names[row]), this), row + 1, 0);
  for (int row = 0; row < 3; ++row)
    grid->addWidget(boxes_[static_cast<std::size_t>(row)], row + 1, 1);
  grid->addWidget(boxes_[3], 1, 2);
  grid->addWidget(boxes_[4], 1, 3);
  grid->addWidget(boxes_[5], 3, 2);
  grid->addWidget(boxes_[6], 3, 3);
  auto* s2Note = new QLabel(QStringLiteral("completes the frame"), this);
  s2Note->setEnabled(false);
  grid->addWidget(s2Note, 2, 2, 1, 2);

  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("principalProblem"));
  problem_->setWordWrap(true);
  QPalette palette = problem_->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  problem_->setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
  fields_->changed = [this] { problem_->clear(); };
  fields_->Recheck();
}

PrincipalTexts PrincipalDialog::Texts() const {
  PrincipalTexts t;
  t.typed = true;
  for (std::size_t i = 0; i < boxes_.size(); ++i)
    t.numbers[i] = boxes_[i]->text();
  return t;
}

void PrincipalDialog::accept() {
  if (!fields_->AllValid())
    return;
  const auto value = [this](std::size_t i) { return fields_->Value(boxes_[i]).value_or(0.0); };
  analysis::PrincipalInput in;
  in.s1 = value(0);
  in.s2 = value(1);
  in.s3 = value(2);
  in.s1Azimuth = value(3);
  in.s1Dip = value(4);
  in.s3Azimuth = value(5);
  in.s3Dip = value(6);
  in.convention = convention_;
  const analysis::BuiltState built = analysis::BuildFromPrincipal(in);
  if (!built.state.has_value()) {
    problem_->setText(QString::fromStdString(built.problem) + QLatin1Char('.'));
    return;
  }
  state_ = built.state;
  QDialog::accept();
}

}  // namespace ui
