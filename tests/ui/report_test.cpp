// The PDF report in the real program, offscreen: File > Save report as PDF
// with its file dialog answered here as a user would, the PDF read back with
// poppler's tools (pdfinfo, pdfimages, pdftotext, pdftoppm), and the failures
// that must leave the folder as it was. Set KELVANE_KEEP_REPORTS to a folder
// to keep a copy of each report written.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointF>
#include <QProcess>
#include <QPushButton>
#include <QRectF>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/pass.h"
#include "engine/plane_results.h"
#include "test_names.h"
#include "ui/mohr/mohr_window.h"
#include "ui/report/report_file.h"
#include "window_fixture.h"

namespace {

using test_names::RowName;
using ui::testing::AnnounceLocale;
using ui::testing::kResultBoxes;
using ui::testing::WindowTest;

QString Tool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0)
    return QStringLiteral("<%1 failed: %2>").arg(program, process.readAllStandardError());
  return QString::fromUtf8(process.readAllStandardOutput());
}

/// Every file and folder under `folder` with its bytes (folders: "<folder>").
std::map<std::string, std::string> Snapshot(const QString& folder) {
  std::map<std::string, std::string> entries;
  QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    QFile file(path);
    const std::string bytes = it.fileInfo().isDir()            ? std::string("<folder>")
                              : file.open(QIODevice::ReadOnly) ? file.readAll().toStdString()
                                                               : std::string("<unreadable>");
    entries[QDir(folder).relativeFilePath(path).toStdString()] = bytes;
  }
  return entries;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

/// How the file dialog went while a command ran.
struct DialogRun {
  bool shown = false;
  bool leftOpen = false;  ///< still open after 10 s, and closed so that the test ends
  std::string proposed;   ///< "title|folder|name|filters" as the dialog opened
};

class ReportTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(scratch_.isValid());
    // The documents folder is set for the user by XDG_CONFIG_HOME/user-dirs.dirs.
    savedConfigHome_ = qgetenv("XDG_CONFIG_HOME");
    const QString config = scratch_.filePath(QStringLiteral("config"));
    documents_ = scratch_.filePath(QStringLiteral("Documents"));
    out_ = scratch_.filePath(QStringLiteral("out"));
    for (const QString& folder : {config, documents_, out_})
      ASSERT_TRUE(QDir().mkpath(folder));
    WriteFile(config + QStringLiteral("/user-dirs.dirs"),
              QStringLiteral("XDG_DOCUMENTS_DIR=\"%1\"\n").arg(documents_).toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    // No folder remembered from an earlier test.
    QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane")).clear();
    Show();
  }

  void TearDown() override {
    qputenv("XDG_CONFIG_HOME", savedConfigHome_);
    WindowTest::TearDown();
  }

  /// Chooses File > Save report as PDF; `answer` gets the file dialog once
  /// it is shown. A question the dialog asks (replace a file?) is answered Yes.
  DialogRun SaveReport(const std::function<void(QFileDialog*)>& answer) {
    DialogRun run;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (dialog != nullptr && dialog->isVisible() && !run.shown) {
        run.shown = true;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        run.proposed = QStringList{dialog->windowTitle(), dialog->directory().absolutePath(),
                                   name != nullptr ? name->text() : QString(),
                                   dialog->nameFilters().join(QLatin1Char(';'))}
                           .join(QLatin1Char('|'))
                           .toStdString();
        answer(dialog);
      }
    });
    poll.start();
    // The dialog asks while `answer` runs: a timer of its own answers.
    QTimer questions;
    questions.setInterval(10);
    QObject::connect(&questions, &QTimer::timeout, [] {
      auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (question != nullptr && question->isVisible())
        question->button(QMessageBox::Yes)->click();
    });
    questions.start();
    QTimer rescue;
    rescue.setSingleShot(true);
    QObject::connect(&rescue, &QTimer::timeout, [&run] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        run.leftOpen = true;
        modal->close();
      }
    });
    rescue.start(10000);
    auto* item = Find<QAction>("mnuSaveReport");
    if (item != nullptr)
      item->trigger();
    return run;
  }

  /// Types `path` as the file's name and presses Save; an empty path presses Cancel.
  static void Choose(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(buttons, nullptr);
    name->setText(path);
    buttons->button(path.isEmpty() ? QDialogButtonBox::Cancel : QDialogButtonBox::Save)->click();
  }

  /// What a dialog opened by the command must propose.
  std::string Proposal() const {
    return "Save report as PDF|" + documents_.toStdString() +
           "|kelvane-report.pdf|PDF files (*.pdf)";
  }

  /// The report written at `path`, kept when asked to.
  void Keep(const QString& path, const char* rowName) {
    const QString keep = qEnvironmentVariable("KELVANE_KEEP_REPORTS");
    if (keep.isEmpty())
      return;
    const QString copy =
        QDir(keep).filePath(QString::fromStdString(test_names::SanitizedName(rowName) + ".pdf"));
    QFile::remove(copy);
    QFile::copy(path, copy);
  }

  QTemporaryDir scratch_;
  QString documents_;
  QString out_;

 private:
  QByteArray savedConfigHome_;
};

enum Setting : unsigned { kEnglish = 0, kGerman = 1, kJoint = 2, kFromEast = 4 };

struct ReportCase {
  const char* name;
  unsigned settings;
  const char* typed;  ///< the file's name as typed; ".pdf" is added to a name without extension
  std::vector<const char*> shown;
  std::vector<const char*> absent;
};

const ReportCase kReportCases[] = {
    {"default input",
     kEnglish,
     "kelvane-report.pdf",
     {"Stress state", "8.794", "283.10", "69.95", "0.333929", "azimuth clockwise from North",
      "4.133", "NF: normal faulting", "Kelvane 1.0"},
     {"5.760", "counter-clockwise", "Stresses on the joint"}},
    {"joint on azimuth from East",
     kJoint | kFromEast,
     "joint.pdf",
     {"5.760", "4.033", "2.436", "azimuth counter-clockwise from East", "0.604"},
     {"azimuth clockwise from North"}},
    {"German settings and a non ASCII name without extension",
     kGerman | kJoint,
     "Spannungszustand Grüße",
     {"8,794", "283,10", "69,95", "0,333929", "5,760", "4,033", "2,436", "4,133"},
     {"8.794", "5.760"}},
};

class ReportPageTest : public ReportTest, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ReportPageTest, HoldsTheWindowsTextsOnOneVectorA4Page) {
  const ReportCase& c = GetParam();
  if ((c.settings & kGerman) != 0) {
    AnnounceLocale(QLocale(QLocale::German, QLocale::Germany));
    const char* texts[][2] = {{"input_sx", "3,4"}, {"input_sy", "1"},   {"input_sz", "8"},
                              {"input_txy", "1"},  {"input_tyx", "-1"}, {"input_tzx", "2"}};
    for (const auto& [box, text] : texts)
      Type(box, QString::fromLatin1(text));
  }
  if ((c.settings & kJoint) != 0)
    Click("chkJoint");
  if ((c.settings & kFromEast) != 0)
    Find<QAction>("mnuAngleLeft")->trigger();
  QString name = QString::fromUtf8(c.typed);
  const DialogRun run = SaveReport([&](QFileDialog* d) { Choose(d, QDir(out_).filePath(name)); });
  EXPECT_EQ(run.proposed, Proposal());
  EXPECT_FALSE(run.leftOpen);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  if (!name.endsWith(QLatin1String(".pdf")))
    name += QLatin1String(".pdf");
  // The one file, and nothing beside it.
  const std::map<std::string, std::string> files = Snapshot(out_);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files.begin()->first, name.toStdString());
  const QString pdf = QDir(out_).filePath(name);
  Keep(pdf, c.name);
  // The next report is proposed in the folder this one went to.
  const DialogRun next = SaveReport([](QFileDialog* d) { Choose(d, QString()); });
  EXPECT_EQ(next.proposed,
            "Save report as PDF|" + out_.toStdString() + "|kelvane-report.pdf|PDF files (*.pdf)");

  const QString info = Tool(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages: +1\n"))));
  EXPECT_TRUE(info.contains(QStringLiteral("Page size:       595 x 842 pts (A4)\n")))
      << info.toStdString();
  // The header of the list, and no image below it.
  const QString images = Tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  EXPECT_EQ(images.count(QLatin1Char('\n')), 2) << images.toStdString();

  const QString text =
      Tool(QStringLiteral("pdftotext"),
           {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  for (const char* shown : c.shown)
    EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << " not in\n"
                                                         << text.toStdString();
  for (const char* absent : c.absent)
    EXPECT_FALSE(text.contains(QString::fromUtf8(absent))) << absent;
  // Every result the window shows, as it shows it.
  for (const char* box : kResultBoxes) {
    if (!Box(box)->text().isEmpty()) {
      EXPECT_TRUE(text.contains(Box(box)->text())) << box;
    }
  }
  // The Mohr diagram was drawn without the Mohr window.
  EXPECT_EQ(window_->findChild<ui::MohrWindow*>(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Table, ReportPageTest, ::testing::ValuesIn(kReportCases), RowName());

// ---------------------------------------------------------------------------
// Cancel and failures: at most one error box, and the folder exactly as it was.

enum class Step { kNone, kMakeAFolder, kFillTheDisk, kBadInput };

struct FailureCase {
  const char* name;
  const char* path;  ///< chosen in the dialog, under the output folder unless absolute
  Step step;         ///< done before the command, or once the dialog has closed
  int error;         ///< errno whose text is the reason; -1 Qt's own reason, 0 no box
};

const FailureCase kFailureCases[] = {
    {"cancel", "", Step::kNone, 0},
    // sysfs refuses new files, to root as well (permission bits would not).
    {"folder that refuses new files", "/sys/kelvane-report.pdf", Step::kNone, EACCES},
    {"folder that is a file", "notes.txt/kelvane-report.pdf", Step::kNone, ENOTDIR},
    // The dialog itself would open a folder that is chosen.
    {"name of a folder made after the dialog", "report.pdf", Step::kMakeAFolder, -1},
    // A file size limit stands in for a full disk: writing stops halfway.
    {"disk full while replacing a report", "kelvane-report.pdf", Step::kFillTheDisk, EFBIG},
    {"failing pass", "kelvane-report.pdf", Step::kBadInput, 0},
};

class ReportFailureTest : public ReportTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ReportFailureTest, LeavesTheFolderAsItWas) {
  const FailureCase& c = GetParam();
  WriteFile(QDir(out_).filePath(QStringLiteral("kelvane-report.pdf")), "%PDF-1.4 an earlier one");
  WriteFile(QDir(out_).filePath(QStringLiteral("notes.txt")), "notes");
  if (c.step == Step::kBadInput)
    Type("input_sy", QStringLiteral("1x"));
  const QString path =
      c.path[0] == '\0' ? QString() : QDir(out_).filePath(QString::fromUtf8(c.path));

  std::map<std::string, std::string> before = Snapshot(out_);
  rlimit savedLimit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &savedLimit), 0);
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  const DialogRun run = SaveReport([&](QFileDialog* dialog) {
    Choose(dialog, path);
    if (c.step == Step::kMakeAFolder) {
      ASSERT_TRUE(QDir().mkpath(path));
      WriteFile(path + QStringLiteral("/inside.txt"), "inside");
      before = Snapshot(out_);
    }
    if (c.step == Step::kFillTheDisk) {
      rlimit small = savedLimit;
      small.rlim_cur = 2048;
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
  });
  setrlimit(RLIMIT_FSIZE, &savedLimit);
  std::signal(SIGXFSZ, savedSignal);

  std::vector<std::string> messages;
  if (c.step == Step::kBadInput)
    messages.push_back("'1x' is not a valid floating point value.");
  if (c.error != 0) {
    const QString reason = c.error > 0 ? QString::fromLocal8Bit(std::strerror(c.error))
                                       : QStringLiteral("Filename refers to a directory");
    messages.push_back(QStringLiteral("Could not save the report to %1: %2.")
                           .arg(QDir::toNativeSeparators(path), reason)
                           .toStdString());
  }
  EXPECT_EQ(Messages(), messages);
  // A failing pass asks for no file.
  EXPECT_EQ(run.shown, c.step != Step::kBadInput);
  EXPECT_FALSE(run.leftOpen);
  EXPECT_EQ(Snapshot(out_), before);
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/sys/kelvane-report.pdf")));
}

INSTANTIATE_TEST_SUITE_P(Table, ReportFailureTest, ::testing::ValuesIn(kFailureCases), RowName());

}  // namespace

namespace {

// A FIFO or a device (or a link to one) stays what it is: the report is
// refused with the reason and nothing is written there.
TEST(SaveReport, RefusesWhatIsNoRegularFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString fifo = dir.filePath(QStringLiteral("report.pdf"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString link = dir.filePath(QStringLiteral("null.pdf"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), link));
  ui::ReportContent content;
  content.results = engine::RunPass(
      engine::PassInputs::Of({3.4, 1, 8, 1, -1, 2}, stress::Azimuth::kClockwiseFromNorth));
  for (const QString& path : {fifo, link}) {
    try {
      ui::SaveReport(path, content);
      ADD_FAILURE() << "wrote " << path.toStdString();
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), "Could not save the report to " + path.toStdString() +
                                           ": it is not a regular file");
    }
  }
  EXPECT_FALSE(QFileInfo(fifo).isFile());
  EXPECT_EQ(QFileInfo(link).symLinkTarget(), QStringLiteral("/dev/null"));
  EXPECT_EQ(
      QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size(), 2);
}

}  // namespace

namespace {

/// The report of the default stresses with the joint on, azimuths from East
/// and a pore pressure, written as `rows.pdf` in `dir`; empty when it could
/// not be written.
QString WriteRowsReport(const QTemporaryDir& dir) {
  ui::ReportContent content;
  engine::PassInputs inputs =
      engine::PassInputs::Of({3.4, 1, 8, 1, -1, 2}, stress::Azimuth::kCounterClockwiseFromEast,
                             stress::JointPlane{16, 33, 14, 1});
  inputs.porePressure = 0.2;
  content.results = engine::RunPass(inputs);
  content.program = QStringLiteral("Kelvane 1.0");
  const QString pdf = dir.filePath(QStringLiteral("rows.pdf"));
  QFile file(pdf);
  if (!file.open(QIODevice::WriteOnly) || file.write(ui::ReportPdf(content)) <= 0)
    return {};
  return pdf;
}

// Each row of the page's tables, read back from the PDF: the texts of a row
// stand on one line of `pdftotext -layout`, in this order. A transposed
// table, a shifted row or swapped columns fails.
TEST(ReportRows, EachRowHoldsItsTextsInOrder) {
  QTemporaryDir dir;
  const QString pdf = WriteRowsReport(dir);
  ASSERT_FALSE(pdf.isEmpty());
  const QStringList lines =
      Tool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                         QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})
          .split(QLatin1Char('\n'));
  const std::vector<std::vector<const char*>> rows = {
      {"sx", "3.4", "normal stress, x (East)"},
      {"Pp", "0.2", "pore pressure"},
      {"s1", "8.794", "166.90", "69.95"},
      {"s2", "3.341", "29.22", "15.10"},
      {"s3", "0.266", "295.68", "12.88"},
      {"L (x, East)", "0.333929", "0.842622", "-0.422468"},
      {"M (y, North)", "-0.077687", "0.471273", "0.878560"},
      {"N (z, up)", "0.939391", "-0.260557", "0.222832"},
      {"\u03b2", "16", "dip direction"},
      {"\u03c8", "33", "dip (\u00b0)"},
      {"\u03c6", "14", "friction angle"},
      {"c", "1", "cohesion"},
      {"\u03c3", "5.760", "normal stress"},
      {"\u03c4", "4.033", "shear stress"},
      {"\u03c4lim", "2.436", "limiting shear stress"},
      {"normal stress \u03c3\u2032", "5.560"},  // pdftotext joins "ff" into a ligature
  };
  for (const std::vector<const char*>& row : rows) {
    bool found = false;
    for (const QString& line : lines) {
      qsizetype at = 0;
      bool inOrder = true;
      for (const char* cell : row) {
        at = line.indexOf(QString::fromUtf8(cell), at);
        if (at < 0) {
          inOrder = false;
          break;
        }
        at += QString::fromUtf8(cell).size();
      }
      found = found || inOrder;
    }
    EXPECT_TRUE(found) << "no line holds, in order: " << row.front() << " ... " << row.back();
  }
}

// With a plane set the report has a second page: the summary, and the
// planes by Ts/Ts,max, largest first, each row's texts in column order.
TEST(ReportPlanes, SecondPageListsThePlanesNearestToSlipping) {
  QTemporaryDir dir;
  ui::ReportContent content;
  engine::PassInputs inputs =
      engine::PassInputs::Of({3.4, 1, 8, 1, -1, 2}, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = 0.2;
  content.results = engine::RunPass(inputs);
  content.program = QStringLiteral("Kelvane 1.0");
  for (const auto& [id, dd, dip] : {std::tuple{"A", 90.0, 60.0}, std::tuple{"B", 270.0, 30.0},
                                    std::tuple{"C", 200.0, 90.0}, std::tuple{"D", 0.0, 0.0}})
    content.planes.push_back({dd, dip}, id);
  content.planeDefaults = {30.0, 1.0};
  content.planeResults.resize(content.planes.size());
  engine::AssessPlanes(content.results, content.planes, content.planeDefaults, 0,
                       content.planes.size(), content.planeResults.data());
  content.planeSummary = QStringLiteral("4 planes, 0 slip");
  const QString pdf = dir.filePath(QStringLiteral("planes.pdf"));
  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_GT(file.write(ui::ReportPdf(content)), 0);
  file.close();
  const QStringList lines =
      Tool(QStringLiteral("pdftotext"),
           {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("2"),
            QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")})
          .split(QLatin1Char('\n'));
  std::vector<std::string> rows;
  for (const QString& line : lines) {
    const QString row = line.simplified();
    if (row.size() > 2 && row[1] == QLatin1Char(' ') && QStringLiteral("ABCD").contains(row[0]))
      rows.push_back(row.toStdString());
  }
  // Ts 0.904, 0.669, 0.496, 0.287 under one Ts,max; the rakes of the worked
  // planes.
  EXPECT_EQ(rows,
            (std::vector<std::string>{"C 200.00 90.00 1.724 1.559 0.159 1.280 0.756 -9.44 stable",
                                      "B 270.00 30.00 4.918 3.289 0.118 1.167 0.953 -114.54 stable",
                                      "A 90.00 60.00 6.082 3.014 0.087 1.497 2.593 -96.97 stable",
                                      "D 0.00 0.00 7.800 2.236 0.050 2.461 5.659 -26.57 stable"}));
  EXPECT_TRUE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("4 planes, 0 slip.")));
}

// ---------------------------------------------------------------------------
// The colours of the principal stresses on the page, as the window shows
// them (s1 green, s2 red, s3 blue): the page is rendered without smoothing,
// so that every pixel of a cell's text has the cell's colour exactly, and
// each cell is found on the page by its text's box (`pdftotext -bbox`, in
// points).

const QColor kGreen(0, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);

struct ColouredCell {
  const char* text;
  QColor colour;
};

struct ColouredRow {
  const char* name;
  std::vector<ColouredCell> cells;  ///< words of one line, in order
};

const ColouredRow kColouredRows[] = {
    {"s1 value azimuth and dip",
     {{"s1", kGreen}, {"8.794", kGreen}, {"166.90", kGreen}, {"69.95", kGreen}}},
    {"s2 value azimuth and dip", {{"s2", kRed}, {"3.341", kRed}, {"29.22", kRed}, {"15.10", kRed}}},
    {"s3 value azimuth and dip",
     {{"s3", kBlue}, {"0.266", kBlue}, {"295.68", kBlue}, {"12.88", kBlue}}},
    {"cosine headings", {{"s1", kGreen}, {"s2", kRed}, {"s3", kBlue}}},
    {"cosines L", {{"0.333929", kGreen}, {"0.842622", kRed}, {"-0.422468", kBlue}}},
    {"cosines M", {{"-0.077687", kGreen}, {"0.471273", kRed}, {"0.878560", kBlue}}},
    {"cosines N", {{"0.939391", kGreen}, {"-0.260557", kRed}, {"0.222832", kBlue}}},
    {"joint normal stress in black", {{"\u03c3", Qt::black}, {"5.760", Qt::black}}},
    {"joint shear stress in black", {{"\u03c4", Qt::black}, {"4.033", Qt::black}}},
};

struct Word {
  QString text;
  QRectF box;  ///< in points from the page's top-left corner
};

/// The words of the page at `pdf` with their boxes, in reading order.
std::vector<Word> WordsOf(const QString& pdf) {
  const QString html =
      Tool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                         QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  static const QRegularExpression kWord(QStringLiteral(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
  std::vector<Word> words;
  for (const QRegularExpressionMatch& m : kWord.globalMatch(html)) {
    const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
    const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
    words.push_back({m.captured(5), QRectF(topLeft, bottomRight)});
  }
  return words;
}

/// The boxes of `row`'s cells where its words stand on one line, in order;
/// empty when no line holds them.
std::vector<QRectF> FindRow(const std::vector<Word>& words, const ColouredRow& row) {
  for (const Word& first : words) {
    if (first.text != QString::fromUtf8(row.cells.front().text))
      continue;
    std::vector<QRectF> boxes = {first.box};
    double right = first.box.right();
    for (std::size_t i = 1; i < row.cells.size(); ++i) {
      for (const Word& word : words) {
        if (word.text == QString::fromUtf8(row.cells[i].text) &&
            std::abs(word.box.top() - first.box.top()) < 1.0 && word.box.left() >= right) {
          boxes.push_back(word.box);
          right = word.box.right();
          break;
        }
      }
    }
    if (boxes.size() == row.cells.size())
      return boxes;
  }
  return {};
}

/// The colours of the pixels within `box` (in points) that are not the white
/// of the paper, each with its count, most frequent first.
std::vector<std::pair<std::string, int>> InkColours(const QImage& page, const QRectF& box,
                                                    double pixelsPerPoint) {
  // A pixel inside the box on every side: its neighbours' text stays out.
  const QRect pixels(QPoint(static_cast<int>(std::ceil(box.left() * pixelsPerPoint)) + 1,
                            static_cast<int>(std::ceil(box.top() * pixelsPerPoint)) + 1),
                     QPoint(static_cast<int>(box.right() * pixelsPerPoint) - 1,
                            static_cast<int>(box.bottom() * pixelsPerPoint) - 1));
  std::map<std::string, int> counts;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
      const QColor colour = page.pixelColor(x, y);
      if (colour != Qt::white)
        ++counts[colour.name().toStdString()];
    }
  }
  std::vector<std::pair<std::string, int>> colours(counts.begin(), counts.end());
  std::sort(colours.begin(), colours.end(),
            [](const auto& a, const auto& b) { return a.second > b.second; });
  return colours;
}

TEST(ReportColours, PrincipalStressCellsTakeTheirColours) {
  QTemporaryDir dir;
  const QString pdf = WriteRowsReport(dir);
  ASSERT_FALSE(pdf.isEmpty());
  constexpr int kDotsPerInch = 144;
  constexpr double kPixelsPerPoint = kDotsPerInch / 72.0;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  const QString rendered =
      Tool(QStringLiteral("pdftoppm"),
           {QStringLiteral("-r"), QString::number(kDotsPerInch), QStringLiteral("-aa"),
            QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
            QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, prefix});
  ASSERT_TRUE(rendered.isEmpty()) << rendered.toStdString();
  const QImage page(prefix + QStringLiteral(".png"));
  ASSERT_FALSE(page.isNull());
  const std::vector<Word> words = WordsOf(pdf);
  ASSERT_FALSE(words.empty());

  for (const ColouredRow& row : kColouredRows) {
    SCOPED_TRACE(row.name);
    const std::vector<QRectF> boxes = FindRow(words, row);
    if (boxes.empty()) {
      ADD_FAILURE() << "no line holds the row's words in order";
      continue;
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const ColouredCell& cell = row.cells[i];
      const std::vector<std::pair<std::string, int>> inks =
          InkColours(page, boxes[i], kPixelsPerPoint);
      std::ostringstream found;
      for (const auto& [colour, count] : inks)
        found << ' ' << colour << " x" << count;
      // The text itself, in its colour alone.
      EXPECT_EQ(inks.size(), 1u) << cell.text << ":" << found.str();
      if (inks.empty())
        continue;
      EXPECT_EQ(inks.front().first, cell.colour.name().toStdString()) << cell.text;
      EXPECT_GE(inks.front().second, 20) << cell.text << ":" << found.str();
    }
  }
}

// The report's plane rows: nearest to slipping first.
struct NearestCase {
  const char* name;
  std::vector<std::pair<double, double>> planes;  ///< (dPc, Ts/Ts,max) each
  std::size_t count;
  std::vector<std::size_t> rows;
};

const NearestCase kNearestCases[] = {
    {"smallest dPc first, past the limit before",
     {{2.0, 0.9}, {-1.0, 0.5}, {0.5, 0.7}},
     3,
     {1, 2, 0}},
    {"a tie in dPc by the larger Ts/Ts,max", {{1.0, 0.2}, {1.0, 0.8}, {3.0, 0.9}}, 3, {1, 0, 2}},
    {"no dPc after, by Ts/Ts,max", {{NAN, 0.99}, {5.0, 0.1}, {NAN, 0.5}}, 3, {1, 0, 2}},
    {"nothing known last, in set order", {{NAN, NAN}, {NAN, 0.3}, {NAN, NAN}}, 3, {1, 0, 2}},
    {"the first `count` only", {{3.0, 0.1}, {2.0, 0.1}, {1.0, 0.1}, {0.0, 0.1}}, 2, {3, 2}},
    {"equal planes keep set order", {{1.0, 0.5}, {1.0, 0.5}, {1.0, 0.5}}, 3, {0, 1, 2}},
};

class NearestTest : public ::testing::TestWithParam<NearestCase> {};

TEST_P(NearestTest, OrdersByPressureToSlip) {
  const NearestCase& c = GetParam();
  std::vector<engine::PlaneResult> results;
  for (const auto& [deltaPc, ts] : c.planes) {
    engine::PlaneResult r{};
    r.deltaPc = deltaPc;
    r.tsNormalized = ts;
    results.push_back(r);
  }
  EXPECT_EQ(ui::PlanesNearestToSlipping(results, c.count), c.rows);
}

INSTANTIATE_TEST_SUITE_P(Table, NearestTest, ::testing::ValuesIn(kNearestCases),
                         test_names::RowName());

}  // namespace
