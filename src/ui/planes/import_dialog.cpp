#include "ui/planes/import_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "tables/csv.h"

namespace ui {
namespace {

constexpr std::size_t kPreviewLines = 20;

struct Choice {
  const char* text;
  tables::PlaneColumn column;
};
constexpr Choice kColumnChoices[] = {
    {"(ignored)", tables::PlaneColumn::kIgnored},
    {"ID", tables::PlaneColumn::kId},
    {"Dip direction / strike", tables::PlaneColumn::kDirection},
    {"Dip", tables::PlaneColumn::kDip},
    {"Friction angle \u03c6", tables::PlaneColumn::kPhi},
    {"Friction coefficient \u03bc", tables::PlaneColumn::kMu},
    {"Cohesion c", tables::PlaneColumn::kCohesion},
};

constexpr char kDelimiters[] = {',', ';', '\t', ' '};

QString Shown(double value) {
  return QString::number(value, 'g', 10);
}

}  // namespace

ImportDialog::ImportDialog(const std::string& head, const QString& fileName, QWidget* parent)
    : QDialog(parent), head_(head), reading_(tables::DetectReading(head)) {
  setObjectName(QStringLiteral("ImportPlanesDialog"));
  setWindowTitle(QStringLiteral("Import planes"));

  delimiter_ = new QComboBox(this);
  delimiter_->setObjectName(QStringLiteral("delimiter"));
  delimiter_->addItems({QStringLiteral("Comma"), QStringLiteral("Semicolon"), QStringLiteral("Tab"),
                        QStringLiteral("Spaces and tabs")});
  header_ = new QCheckBox(QStringLiteral("The first row names the columns"), this);
  header_->setObjectName(QStringLiteral("header"));
  notation_ = new QComboBox(this);
  notation_->setObjectName(QStringLiteral("notation"));
  notation_->addItems({QStringLiteral("Dip direction and dip"),
                       QStringLiteral("Strike and dip (right-hand rule)")});
  decimal_ = new QComboBox(this);
  decimal_->setObjectName(QStringLiteral("decimal"));
  decimal_->addItem(QStringLiteral("."), QStringLiteral("."));
  decimal_->addItem(QStringLiteral(","), QStringLiteral(","));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("File:"), new QLabel(fileName, this));
  form->addRow(QStringLiteral("&Delimiter:"), delimiter_);
  form->addRow(QString(), header_);
  form->addRow(QStringLiteral("&Notation:"), notation_);
  form->addRow(QStringLiteral("D&ecimal separator:"), decimal_);

  preview_ = new QTableWidget(this);
  preview_->setObjectName(QStringLiteral("preview"));
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview_->verticalHeader()->setVisible(true);
  preview_->horizontalHeader()->setStretchLastSection(true);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("summary"));
  summary_->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Import"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(new QLabel(QStringLiteral("The first rows as they will be read:"), this));
  layout->addWidget(preview_, 1);
  layout->addWidget(summary_);
  layout->addWidget(buttons);
  resize(760, 480);

  ShowSettings();
  FillPreview();
  for (QComboBox* box : {delimiter_, notation_, decimal_})
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
      if (!filling_) {
        ReadSettings();
        FillPreview();
      }
    });
  connect(header_, &QCheckBox::toggled, this, [this] {
    if (!filling_) {
      ReadSettings();
      FillPreview();
    }
  });
}

void ImportDialog::ShowSettings() {
  filling_ = true;
  delimiter_->setCurrentIndex(static_cast<int>(
      std::find(std::begin(kDelimiters), std::end(kDelimiters), reading_.delimiter) -
      std::begin(kDelimiters)));
  header_->setChecked(reading_.header);
  notation_->setCurrentIndex(reading_.notation == tables::Notation::kStrike ? 1 : 0);
  decimal_->setCurrentIndex(reading_.decimal == ',' ? 1 : 0);
  filling_ = false;
}

void ImportDialog::ReadSettings() {
  reading_.delimiter = kDelimiters[std::max(0, delimiter_->currentIndex())];
  reading_.header = header_->isChecked();
  reading_.notation =
      notation_->currentIndex() == 1 ? tables::Notation::kStrike : tables::Notation::kDipDirection;
  reading_.decimal = decimal_->currentIndex() == 1 ? ',' : '.';
  for (std::size_t i = 0; i < columns_.size(); ++i)
    reading_.columns[i] = kColumnChoices[std::max(0, columns_[i]->currentIndex())].column;
}

void ImportDialog::FillPreview() {
  filling_ = true;
  const std::vector<tables::TextLine> lines = tables::FirstLines(head_, kPreviewLines + 1);
  tables::CsvSplitter splitter(reading_.delimiter);
  std::size_t fieldCount = 0;
  std::vector<std::vector<QString>> cells;
  for (const tables::TextLine& line : lines) {
    std::vector<QString> row;
    if (splitter.Split(line.text))
      for (const std::string_view field : splitter.Fields())
        row.push_back(QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size())));
    fieldCount = std::max(fieldCount, row.size());
    cells.push_back(std::move(row));
  }
  reading_.columns.resize(fieldCount, tables::PlaneColumn::kIgnored);

  // Row 0 holds each column's meaning; then the lines, and what each reads as.
  preview_->clear();
  preview_->setColumnCount(static_cast<int>(fieldCount) + 1);
  preview_->setRowCount(static_cast<int>(cells.size()) + 1);
  QStringList titles;
  for (std::size_t c = 0; c < fieldCount; ++c)
    titles << QStringLiteral("Column %1").arg(c + 1);
  titles << QStringLiteral("Read as");
  preview_->setHorizontalHeaderLabels(titles);
  QStringList rowNames{QStringLiteral("")};
  columns_.clear();
  for (std::size_t c = 0; c < fieldCount; ++c) {
    auto* box = new QComboBox(preview_);
    box->setObjectName(QStringLiteral("column%1").arg(c + 1));
    for (const Choice& choice : kColumnChoices)
      box->addItem(QString::fromUtf8(choice.text));
    box->setCurrentIndex(static_cast<int>(
        std::find_if(std::begin(kColumnChoices), std::end(kColumnChoices),
                     [&](const Choice& choice) { return choice.column == reading_.columns[c]; }) -
        std::begin(kColumnChoices)));
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
      if (!filling_) {
        ReadSettings();
        FillPreview();
      }
    });
    preview_->setCellWidget(0, static_cast<int>(c), box);
    columns_.push_back(box);
  }
  for (std::size_t r = 0; r < cells.size(); ++r) {
    rowNames << QStringLiteral("line %1").arg(lines[r].number);
    for (std::size_t c = 0; c < cells[r].size(); ++c)
      preview_->setItem(static_cast<int>(r) + 1, static_cast<int>(c),
                        new QTableWidgetItem(cells[r][c]));
    QString readAs;
    if (r == 0 && reading_.header) {
      readAs = QStringLiteral("(header)");
    } else if (!splitter.Split(lines[r].text)) {
      readAs = QStringLiteral("not imported: a quoted field is not closed");
    } else {
      const tables::PlaneRow row = tables::ReadPlaneRow(splitter.Fields(), reading_);
      if (!row.plane) {
        readAs = QStringLiteral("not imported: ") + QString::fromStdString(row.problem);
      } else {
        readAs = QStringLiteral("dip direction %1, dip %2")
                     .arg(Shown(row.plane->dipDirection), Shown(row.plane->dip));
        if (row.plane->HasOwnPhi())
          readAs += QStringLiteral(", \u03c6 %1").arg(Shown(row.plane->phi));
        if (row.plane->HasOwnCohesion())
          readAs += QStringLiteral(", c %1").arg(Shown(row.plane->cohesion));
        if (!row.id.empty())
          readAs = QString::fromStdString(row.id) + QStringLiteral(": ") + readAs;
        if (!row.note.empty())
          readAs += QStringLiteral(" (") + QString::fromStdString(row.note) + QStringLiteral(")");
      }
    }
    preview_->setItem(static_cast<int>(r) + 1, static_cast<int>(fieldCount),
                      new QTableWidgetItem(readAs));
  }
  preview_->setVerticalHeaderLabels(rowNames);
  preview_->resizeColumnsToContents();
  const bool hasDirection = std::count(reading_.columns.begin(), reading_.columns.end(),
                                       tables::PlaneColumn::kDirection) == 1;
  const bool hasDip =
      std::count(reading_.columns.begin(), reading_.columns.end(), tables::PlaneColumn::kDip) == 1;
  summary_->setText(hasDirection && hasDip
                        ? QString()
                        : QStringLiteral("Choose one column for the dip direction (or strike) "
                                         "and one for the dip."));
  if (auto* buttons = findChild<QDialogButtonBox*>())
    buttons->button(QDialogButtonBox::Ok)->setEnabled(hasDirection && hasDip);
  filling_ = false;
}

}  // namespace ui
