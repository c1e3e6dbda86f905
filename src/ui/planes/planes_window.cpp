#include "ui/planes/planes_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

#include "figures/plane_dots.h"
#include "tables/plane_reader.h"
#include "text/shown_fields.h"
#include "ui/common/error_guard.h"
#include "ui/common/window_placement.h"
#include "ui/planes/plane_study.h"
#include "ui/planes/plane_table_model.h"

namespace ui {
namespace {

struct ColouringChoice {
  const char* text;
  figures::DotQuantity quantity;
};
constexpr ColouringChoice kColourings[] = {
    {"Ts/Ts,max", figures::DotQuantity::kNormalizedSlipTendency},
    {"Td", figures::DotQuantity::kDilationTendency},
    {"F", figures::DotQuantity::kFactorOfSafety},
    {"\u0394Pc", figures::DotQuantity::kPorePressureToSlip},
    {"P(slip)", figures::DotQuantity::kSlipProbability},
    {"None", figures::DotQuantity::kNone},
};

constexpr QSize kColourBarSize{160, 18};

}  // namespace

PlanesWindow::PlanesWindow(PlaneStudy& study, QWidget* parent)
    : QWidget(parent, Qt::Window), study_(study) {
  setObjectName(QStringLiteral("PlanesWindow"));
  setWindowTitle(QStringLiteral("Planes"));

  model_ = new PlaneTableModel(study_, this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("planeTable"));
  table_->setModel(model_);
  table_->setSortingEnabled(true);
  table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  table_->setSelectionBehavior(QAbstractItemView::SelectItems);
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);

  const auto button = [this](const char* name, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* import = button("importButton", QStringLiteral("&Import..."));
  QPushButton* exportButton = button("exportButton", QStringLiteral("E&xport..."));
  QPushButton* add = button("addButton", QStringLiteral("&Add plane"));
  QPushButton* remove = button("deleteButton", QStringLiteral("&Delete"));
  colouring_ = new QComboBox(this);
  colouring_->setObjectName(QStringLiteral("colouring"));
  for (const ColouringChoice& choice : kColourings)
    colouring_->addItem(QString::fromUtf8(choice.text));
  auto* colourLabel = new QLabel(QStringLiteral("&Colour dots by:"), this);
  colourLabel->setBuddy(colouring_);
  colourBar_ = new QLabel(this);
  colourBar_->setObjectName(QStringLiteral("colourBar"));
  colourLow_ = new QLabel(this);
  colourLow_->setObjectName(QStringLiteral("colourLow"));
  colourHigh_ = new QLabel(this);
  colourHigh_->setObjectName(QStringLiteral("colourHigh"));

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("summary"));
  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("message"));
  message_->setStyleSheet(QStringLiteral("color: #a00000"));

  auto* commands = new QHBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{import, exportButton, add, remove})
    commands->addWidget(w);
  commands->addStretch(1);
  commands->addWidget(colourLabel);
  commands->addWidget(colouring_);
  commands->addWidget(colourLow_);
  commands->addWidget(colourBar_);
  commands->addWidget(colourHigh_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(commands);
  layout->addWidget(table_, 1);
  layout->addWidget(summary_);
  layout->addWidget(message_);
  resize(kDefaultSize);

  // The table's keys: paste, delete, undo and redo, wherever the focus is
  // in this window.
  const auto shortcut = [this](const char* name, const QKeySequence& keys) {
    auto* action = new QAction(this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    return action;
  };
  QAction* paste = shortcut("pasteAction", QKeySequence::Paste);
  QAction* del = shortcut("deleteAction", QKeySequence::Delete);
  QAction* undo = shortcut("undoAction", QKeySequence::Undo);
  QAction* redo = shortcut("redoAction", QKeySequence::Redo);

  connect(import, &QPushButton::clicked, this, &PlanesWindow::ImportRequested);
  connect(exportButton, &QPushButton::clicked, this, &PlanesWindow::ExportRequested);
  connect(add, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { AddPlane(); }); });
  connect(remove, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { DeleteSelectedRows(); }); });
  connect(del, &QAction::triggered, this,
          [this] { RunGuarded(this, [this] { DeleteSelectedRows(); }); });
  connect(paste, &QAction::triggered, this,
          [this] { RunGuarded(this, [this] { Paste(QGuiApplication::clipboard()->text()); }); });
  connect(undo, &QAction::triggered, this, [this] { RunGuarded(this, [this] { study_.Undo(); }); });
  connect(redo, &QAction::triggered, this, [this] { RunGuarded(this, [this] { study_.Redo(); }); });
  connect(colouring_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0)
      study_.SetColouring(kColourings[index].quantity);
  });
  connect(model_, &PlaneTableModel::EditRefused, message_, &QLabel::setText);
  connect(&study_, &PlaneStudy::SetChanged, this, [this] {
    message_->clear();
    ShowSummary();
  });
  connect(&study_, &PlaneStudy::ResultsChanged, this, &PlanesWindow::ShowSummary);
  // The Monte Carlo columns stand while there are odds to show.
  const auto showOdds = [this] {
    for (int column = PlaneTableModel::kPSlip; column <= PlaneTableModel::kPOpen; ++column)
      table_->setColumnHidden(column, study_.Odds().empty());
    ShowSummary();
  };
  connect(&study_, &PlaneStudy::OddsChanged, this, showOdds);
  showOdds();
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { emit SelectionChanged(SelectedPlanes()); });
}

std::vector<std::size_t> PlanesWindow::SelectedPlanes() const {
  std::vector<std::size_t> planes;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
    planes.push_back(model_->PlaneOf(index.row()));
  std::sort(planes.begin(), planes.end());
  planes.erase(std::unique(planes.begin(), planes.end()), planes.end());
  return planes;
}

void PlanesWindow::Present() {
  if (!placed_) {
    placed_ = true;
    PlaceBelowParent(*this);
  }
  show();
  raise();
  activateWindow();
}

void PlanesWindow::SetSeparators(const text::Separators& separators) {
  separators_ = separators;
  model_->SetSeparators(separators);
  ShowSummary();
}

QString PlanesWindow::SummaryText() const {
  return PlaneSummary(study_, separators_);
}

void PlanesWindow::ShowSummary() {
  summary_->setText(SummaryText());
  ShowColourBar();
}

void PlanesWindow::ShowColourBar() {
  const figures::DotQuantity quantity = study_.Colouring();
  // The choice follows the study when something else set it (an opened case).
  for (int i = 0; i < static_cast<int>(std::size(kColourings)); ++i) {
    if (kColourings[i].quantity == quantity && colouring_->currentIndex() != i) {
      const QSignalBlocker quiet(colouring_);
      colouring_->setCurrentIndex(i);
    }
  }
  if (quantity == figures::DotQuantity::kNone) {
    colourBar_->clear();
    colourBar_->setToolTip(QString());
    colourLow_->clear();
    colourHigh_->clear();
    return;
  }
  const figures::DotRange range = study_.ColourRange();
  const int decimals = quantity == figures::DotQuantity::kPorePressureToSlip ? text::kStressDecimals
                                                                             : text::kRatioDecimals;
  const QString low = text::FormatNumber(range.low, decimals, separators_);
  const QString high = text::FormatNumber(range.high, decimals, separators_);
  const qreal ratio = devicePixelRatioF();
  QPixmap bar(kColourBarSize * ratio);
  bar.setDevicePixelRatio(ratio);
  bar.fill(Qt::transparent);
  QPainter painter(&bar);
  QLinearGradient gradient(0, 0, kColourBarSize.width(), 0);
  for (int i = 0; i <= 10; ++i)
    gradient.setColorAt(i / 10.0, QColor::fromRgb(figures::Viridis(i / 10.0)));
  painter.fillRect(QRect(QPoint(0, 0), kColourBarSize), gradient);
  painter.end();
  colourBar_->setPixmap(bar);
  colourBar_->setToolTip(QStringLiteral("%1 from %2 (left) to %3 (right)")
                             .arg(figures::DotQuantityName(quantity), low, high));
  colourBar_->setAccessibleName(colourBar_->toolTip());
  colourLow_->setText(low);
  colourHigh_->setText(high);
}

void PlanesWindow::Paste(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty())
    return;
  const QModelIndex current = table_->currentIndex();
  // One value: into the current cell, as if typed.
  if (!trimmed.contains(QLatin1Char('\t')) && !trimmed.contains(QLatin1Char('\n'))) {
    if (current.isValid() && (model_->flags(current) & Qt::ItemIsEditable))
      model_->setData(current, trimmed, Qt::EditRole);
    return;
  }
  const std::string rows = trimmed.toStdString();
  tables::PlaneReading reading = tables::DetectReading(rows);
  reading.delimiter = '\t';
  if (separators_.decimal == QStringLiteral(","))
    reading.decimal = ',';
  const tables::PlaneImport read = tables::ReadPlanes(rows, reading);
  const std::size_t at =
      current.isValid() ? model_->PlaneOf(current.row()) + 1 : study_.Set().size();
  if (!read.set.empty())
    study_.Insert(at, read.set, QStringLiteral("Paste"));
  if (!read.messages.empty())
    message_->setText(QStringLiteral("%1 rows pasted, %2 skipped: %3")
                          .arg(read.set.size())
                          .arg(read.skipped)
                          .arg(QString::fromStdString(read.messages.front())));
}

void PlanesWindow::DeleteSelectedRows() {
  std::set<std::size_t> planes;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
    planes.insert(model_->PlaneOf(index.row()));
  if (planes.empty() && table_->currentIndex().isValid())
    planes.insert(model_->PlaneOf(table_->currentIndex().row()));
  study_.Remove(std::vector<std::size_t>(planes.begin(), planes.end()));
}

void PlanesWindow::AddPlane() {
  engine::PlaneSet one;
  one.push_back(engine::Plane{}, "");
  study_.Append(one, QStringLiteral("Add"));
  const int row = model_->rowCount() - 1;
  table_->setCurrentIndex(model_->index(row, PlaneTableModel::kDipDirection));
  table_->scrollToBottom();
}

void PlanesWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  emit VisibilityChanged(true);
}

void PlanesWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  emit VisibilityChanged(false);
}

}  // namespace ui
