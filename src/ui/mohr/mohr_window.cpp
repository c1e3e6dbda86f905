#include "ui/mohr/mohr_window.h"

#include "ui/common/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/charts/mohr_chart.h"
#include "ui/common/error_guard.h"

namespace ui {
namespace {

constexpr int kTableRows = (text::kDerivedCount + 1) / 2;
// Rows of the table before the effective-stress quantities were added.
constexpr int kTableRowsWithoutEffective = 7;
// Pixels between the main window's frame and this one's.
constexpr int kValueWidth = 56;  // pixels, enough for "-1,234.567"
// Pixels a frameless box keeps beside its text.
constexpr int kBoxTextMargins = 6;

}  // namespace

void MohrContent::Take(const engine::PassResults& pass) {
  if (pass.values.has_value()) {
    shown = pass;
    stale = false;
  } else {
    stale = true;
  }
}

MohrWindow::MohrWindow(const MohrContent& content, QWidget* parent)
    : QWidget(parent, Qt::Window), content_(content), separators_(text::SeparatorsOf(QLocale())) {
  setObjectName(QStringLiteral("FrmMohr"));
  setWindowTitle(QStringLiteral("Mohr diagram"));
  setAttribute(Qt::WA_QuitOnClose, false);
  chart_ = new MohrChartView(this);

  // The pore pressure sits above the diagram it changes; Enter recalculates.
  porePressure_ = new QLineEdit(content_.porePressureText, this);
  porePressure_->setObjectName(QStringLiteral("input_pp"));
  porePressure_->setAccessibleName(QStringLiteral("pore pressure"));
  const QString ppHint = QStringLiteral(
      "Pore pressure Pp in the stress unit. Effective stresses are total stresses less Pp "
      "(Terzaghi, Biot coefficient 1); shear stresses are unchanged. Press Enter to recalculate.");
  porePressure_->setToolTip(ppHint);
  auto* ppLabel = new QLabel(QStringLiteral("Pore pressure Pp:"), this);
  ppLabel->setBuddy(porePressure_);
  ppLabel->setToolTip(ppHint);
  connect(porePressure_, &QLineEdit::returnPressed, this, [this] {
    if (porePressureEntered)
      porePressureEntered(porePressure_->text());
  });
  auto* ppStrip = new QHBoxLayout;
  ppStrip->addWidget(ppLabel);
  ppStrip->addWidget(porePressure_);
  ppStrip->addStretch(1);

  // Two columns of name and value, filled column by column. The values are
  // read-only boxes: screen readers read each as its name and its text, and
  // the user can select and copy a single value.
  auto* table = new QGridLayout;
  table->setHorizontalSpacing(6);
  table->setVerticalSpacing(2);
  table->setColumnMinimumWidth(2, 12);
  for (int i = 0; i < text::kDerivedCount; ++i) {
    const text::DerivedQuantity& quantity = text::kDerivedQuantities[static_cast<std::size_t>(i)];
    const QString name = text::DerivedName(static_cast<text::Derived>(i), content_.shown.azimuth);
    auto* box = new QLineEdit(this);
    box->setObjectName(QLatin1String(quantity.objectName));
    box->setReadOnly(true);
    box->setFrame(false);
    box->setAccessibleName(name);
    box->setToolTip(name);
    box->setMinimumWidth(kValueWidth);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    box->setPalette(palette);
    box->installEventFilter(this);
    auto* label = new QLabel(name + QLatin1Char(':'), this);
    label->setBuddy(box);
    label->setToolTip(name);
    const int row = i % kTableRows;
    const int column = i < kTableRows ? 0 : 3;
    table->addWidget(label, row, column);
    table->addWidget(box, row, column + 1);
    boxes_[static_cast<std::size_t>(i)] = box;
    labels_[static_cast<std::size_t>(i)] = label;
  }
  // The regime (left) and the joint's state (right) are the longer texts: the
  // two value columns share the room alike.
  table->setColumnStretch(1, 1);
  table->setColumnStretch(4, 1);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("MohrStatus"));
  copy_ = new QPushButton(QStringLiteral("Copy"), this);
  copy_->setObjectName(QStringLiteral("MohrCopy"));
  copy_->setToolTip(QStringLiteral("Copy the inputs, the results and the derived quantities"));
  connect(copy_, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { CopyToClipboard(); }); });

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addWidget(copy_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addLayout(ppStrip);
  layout->addWidget(chart_, 1);
  layout->addLayout(table);
  layout->addLayout(bottom);

  // Below the width the full names need, the table shows the short ones.
  wideWidth_ = layout->minimumSize().width();
  // The pore-pressure strip adds its own height, so that the diagram keeps
  // the size it has without it.
  // The effective-stress rows likewise add theirs.
  const int rowPitch = boxes_[0]->sizeHint().height() + table->verticalSpacing();
  const QSize added(0, ppStrip->sizeHint().height() + layout->spacing() +
                           (kTableRows - kTableRowsWithoutEffective) * rowPitch);
  resize(kDefaultSize + added);
  setMinimumSize(kMinimumSize + added);
  wide_ = width() >= wideWidth_;
  NameRows();
}

MohrWindow::~MohrWindow() = default;

QString MohrWindow::JointStaleText() {
  return QStringLiteral("Inputs changed: joint not recalculated");
}

QString MohrWindow::StatusText() const {
  if (content_.stale)
    return StaleText();
  const engine::PassResults& shown = content_.shown;
  if (shown.jointActive && !shown.jointStresses.has_value())
    return JointStaleText();
  return {};
}

QString MohrWindow::StaleText() {
  return QStringLiteral("Inputs changed: not recalculated");
}

void MohrWindow::ContentChanged() {
  if (isVisible()) {
    Refresh();
  } else {
    dirty_ = true;
  }
}

void MohrWindow::DotsChanged() {
  if (isVisible() && !dirty_)
    chart_->SetDots(content_.planeResults, content_.planeColours);
}

void MohrWindow::Refresh() {
  dirty_ = false;
  NameRows();
  // What the user is typing stays; a builder's value shows at once.
  if (!porePressure_->hasFocus())
    porePressure_->setText(content_.porePressureText);
  status_->setText(StatusText());
  const std::array<QString, text::kDerivedCount> texts =
      text::DerivedTexts(content_.shown, separators_);
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i]->setText(texts[i]);
    boxes_[i]->setCursorPosition(0);
    // No value is cut: a box is at least as wide as its text.
    const int needed = boxes_[i]->fontMetrics().horizontalAdvance(texts[i]) + kBoxTextMargins;
    boxes_[i]->setMinimumWidth(std::max(kValueWidth, needed));
  }
  FitTable();
  // Last: the limit line is the one part that can fail (an overflow of a
  // cohesion near the double range), and the table is then written already.
  RunGuarded(this, [this] {
    chart_->Show(content_.shown, separators_, content_.unit);
    chart_->SetDots(content_.planeResults, content_.planeColours);
  });
}

// The window widens where the table's values need more room than it has;
// it never narrows by itself.
void MohrWindow::FitTable() {
  layout()->invalidate();
  const int needed = layout()->minimumSize().width();
  if (needed > minimumWidth())
    setMinimumWidth(needed);
  if (needed > width())
    resize(needed, height());
}

void MohrWindow::Present() {
  if (!placed_) {
    placed_ = true;
    PlaceBesideParent(*this);
  }
  show();
  raise();
  activateWindow();
}

QList<text::ResultRow> MohrWindow::CopyRows() const {
  QList<text::ResultRow> rows = text::InputRows(content_.shown, separators_, content_.unit);
  rows += text::ResultRows(content_.shown, separators_);
  rows += text::DerivedRows(content_.shown, separators_, content_.unit);
  if (const QString status = StatusText(); !status.isEmpty())
    rows.append({QStringLiteral("status"), status});
  return rows;
}

void MohrWindow::CopyToClipboard() {
  const QList<text::ResultRow> rows = CopyRows();
  auto* data = new QMimeData;
  data->setText(text::PlainTextTable(rows));
  data->setHtml(text::HtmlTable(rows));
  QApplication::clipboard()->setMimeData(data);
}

void MohrWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous())
    return;
  if (dirty_)
    Refresh();
  emit VisibilityChanged(true);
}

void MohrWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  wide_ = event->size().width() >= wideWidth_;
  NameRows();
}

// Full names where the window is wide enough, short ones else; the SHmax
// azimuth's names the convention of the shown pass.
void MohrWindow::NameRows() {
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    const auto which = static_cast<text::Derived>(i);
    const QString name = text::DerivedName(which, content_.shown.azimuth, false, content_.unit);
    labels_[i]->setText(text::DerivedName(which, content_.shown.azimuth, !wide_, content_.unit) +
                        QLatin1Char(':'));
    labels_[i]->setToolTip(name);
    boxes_[i]->setToolTip(name);
    boxes_[i]->setAccessibleName(name);
  }
}

void MohrWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A minimised window is still open: the system's hiding is not the user's.
  if (!event->spontaneous())
    emit VisibilityChanged(false);
}

void MohrWindow::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    RunGuarded(this, [this] { CopyToClipboard(); });
    return;
  }
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

// A value box copies its own selection; without one, Ctrl+C copies the table.
bool MohrWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    auto* key = static_cast<QKeyEvent*>(event);
    if (box != nullptr && key->matches(QKeySequence::Copy) && !box->hasSelectedText()) {
      RunGuarded(this, [this] { CopyToClipboard(); });
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MohrWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::LocaleChange) {
    separators_ = text::SeparatorsOf(QLocale());
    ContentChanged();
  }
  QWidget::changeEvent(event);
}

MohrWindowLink::MohrWindowLink(QAction* toggle, QWidget* owner)
    : QObject(owner), toggle_(toggle), owner_(owner) {
  setObjectName(QStringLiteral("MohrWindowLink"));
  connect(toggle_, &QAction::triggered, this, &MohrWindowLink::Toggle);
}

void MohrWindowLink::Update(const engine::PassResults& pass) {
  content_.Take(pass);
  if (window_ != nullptr)
    window_->ContentChanged();
}

void MohrWindowLink::SetPorePressureText(const QString& text) {
  content_.porePressureText = text;
  if (window_ != nullptr)
    window_->ContentChanged();
}

void MohrWindowLink::SetStressUnit(const QString& unit) {
  content_.unit = unit;
  if (window_ != nullptr)
    window_->ContentChanged();
}

void MohrWindowLink::SetPlaneDots(const std::vector<engine::PlaneResult>* results,
                                  const std::vector<QRgb>* colours) {
  content_.planeResults = results;
  content_.planeColours = colours;
  if (window_ != nullptr)
    window_->DotsChanged();
}

void MohrWindowLink::Toggle() {
  RunGuarded(owner_, [this] {
    if (!toggle_->isChecked()) {
      if (window_ != nullptr)
        window_->hide();
      return;
    }
    if (window_ == nullptr) {
      window_ = new MohrWindow(content_, owner_);
      window_->porePressureEntered = [this](const QString& text) {
        if (porePressureEntered)
          porePressureEntered(text);
      };
      connect(window_, &MohrWindow::VisibilityChanged, toggle_, &QAction::setChecked);
    }
    window_->Present();
  });
}

}  // namespace ui
