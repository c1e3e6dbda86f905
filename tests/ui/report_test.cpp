// The PDF report in the real program, offscreen: File > Save report as PDF
// with its file dialog answered here as a user would, the PDF read back with
// poppler's tools (pdfinfo, pdfimages, pdftotext), and the failures that must
// leave the folder as it was. Set KELVANE_KEEP_REPORTS to a folder to keep a
// copy of each report written.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "test_names.h"
#include "ui/mohr_window.h"
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
  QStringList questions;  ///< what message boxes the dialog asked; each answered Yes
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
        answer(dialog);
      }
    });
    poll.start();
    // The dialog asks while `answer` runs: a timer of its own answers.
    QTimer questions;
    questions.setInterval(10);
    QObject::connect(&questions, &QTimer::timeout, [&run] {
      auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (question != nullptr && question->isVisible()) {
        run.questions.append(question->text());
        question->button(QMessageBox::Yes)->click();
      }
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

  /// Types `path` as the file's name and presses Save.
  static void Choose(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(buttons, nullptr);
    ASSERT_NE(buttons->button(QDialogButtonBox::Save), nullptr);
    buttons->button(QDialogButtonBox::Save)->click();
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

// Ctrl+S opens Qt's own save dialog with the proposed name and folder; Cancel
// writes nothing and says nothing.
TEST_F(ReportTest, CtrlSProposesTheReportInTheDocumentsFolderAndCancelDoesNothing) {
  ShowActive();
  std::string title, folder, name, filters;
  bool save = false;
  bool own = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible())
      return;
    poll.stop();
    title = dialog->windowTitle().toStdString();
    folder = dialog->directory().absolutePath().toStdString();
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    name = edit != nullptr ? edit->text().toStdString() : "<no name box>";
    filters = dialog->nameFilters().join(QLatin1Char(';')).toStdString();
    save = dialog->acceptMode() == QFileDialog::AcceptSave;
    own = dialog->testOption(QFileDialog::DontUseNativeDialog);
    dialog->reject();
  });
  poll.start();
  QTimer::singleShot(10000, [] {
    if (QWidget* modal = QApplication::activeModalWidget())
      modal->close();
  });
  QTest::keyClick(Box("input_sx"), Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(title, "Save report as PDF");
  EXPECT_EQ(folder, documents_.toStdString());
  EXPECT_EQ(name, "kelvane-report.pdf");
  EXPECT_EQ(filters, "PDF files (*.pdf)");
  EXPECT_TRUE(save);
  EXPECT_TRUE(own);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_EQ(Snapshot(documents_), (std::map<std::string, std::string>{}));
}

struct ReportCase {
  const char* name;
  bool german;
  bool joint;
  bool counterClockwise;
  const char* typed;  ///< the name typed into the dialog
  const char* saved;  ///< the file that must appear
  std::vector<const char*> shown;
  std::vector<const char*> absent;
};

const ReportCase kReportCases[] = {
    {"default input",
     false,
     false,
     false,
     "kelvane-report.pdf",
     "kelvane-report.pdf",
     {"Stress state", "8.794", "283.10", "69.95", "0.333929", "azimuth clockwise from North",
      "4.133", "NF: normal faulting", "Kelvane 1.0"},
     {"5.760", "counter-clockwise", "Stresses on the joint"}},
    {"joint on azimuth from East",
     false,
     true,
     true,
     "joint.pdf",
     "joint.pdf",
     {"8.794", "0.333929", "5.760", "4.033", "2.436", "azimuth counter-clockwise from East",
      "Stresses on the joint", "0.604"},
     {"azimuth clockwise from North"}},
    {"German settings and a non ASCII name without extension",
     true,
     true,
     false,
     "Spannungszustand Grüße",
     "Spannungszustand Grüße.pdf",
     {"8,794", "283,10", "69,95", "0,333929", "5,760", "4,033", "2,436", "4,133",
      "azimuth clockwise from North"},
     {"8.794", "5.760"}},
};

class ReportPageTest : public ReportTest, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ReportPageTest, HoldsTheWindowsTextsOnOneVectorA4Page) {
  const ReportCase& c = GetParam();
  if (c.german) {
    AnnounceLocale(QLocale(QLocale::German, QLocale::Germany));
    const char* texts[][2] = {{"input_sx", "3,4"}, {"input_sy", "1"},   {"input_sz", "8"},
                              {"input_txy", "1"},  {"input_tyx", "-1"}, {"input_tzx", "2"}};
    for (const auto& [box, text] : texts)
      Type(box, QString::fromLatin1(text));
  }
  if (c.joint)
    Click("chkJoint");
  if (c.counterClockwise)
    Find<QAction>("mnuAngleLeft")->trigger();
  const QString typed = QDir(out_).filePath(QString::fromUtf8(c.typed));
  const DialogRun run = SaveReport([&](QFileDialog* dialog) { Choose(dialog, typed); });
  EXPECT_TRUE(run.shown);
  EXPECT_FALSE(run.leftOpen);
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  // The one file, and nothing beside it.
  const std::map<std::string, std::string> files = Snapshot(out_);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files.begin()->first, c.saved);
  const QString pdf = QDir(out_).filePath(QString::fromUtf8(c.saved));
  Keep(pdf, c.name);

  const QString info = Tool(QStringLiteral("pdfinfo"), {pdf});
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << info.toStdString();
  EXPECT_TRUE(
      info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x "
                                                      "84[12](\\.\\d+)? pts \\(A4\\)"))))
      << info.toStdString();
  // The header line of the list, and no image below it.
  const QString images = Tool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
  EXPECT_EQ(images.count(QLatin1Char('\n')), 2) << images.toStdString();

  const QString text =
      Tool(QStringLiteral("pdftotext"),
           {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  for (const char* shown : c.shown)
    EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << " not in\n"
                                                         << text.toStdString();
  for (const char* absent : c.absent)
    EXPECT_FALSE(text.contains(QString::fromUtf8(absent))) << absent << " in\n"
                                                           << text.toStdString();
  // Every result the window shows, as it shows it.
  for (const char* box : kResultBoxes) {
    const QString shown = Box(box)->text();
    if (!shown.isEmpty()) {
      EXPECT_TRUE(text.contains(shown)) << box << " " << shown.toStdString();
    }
  }
  // The Mohr diagram was drawn without the Mohr window.
  EXPECT_EQ(window_->findChild<ui::MohrWindow*>(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Table, ReportPageTest, ::testing::ValuesIn(kReportCases), RowName());

// ---------------------------------------------------------------------------
// Failures: one error box, and the folder exactly as it was.

enum class Failure { kFolderRefuses, kFolderIsAFile, kNameIsAFolder, kDiskFull, kPassFails };

struct FailureCase {
  const char* name;
  Failure failure;
  int error;  ///< errno whose text is the reason, or 0 for Qt's own reason
};

const FailureCase kFailureCases[] = {
    // sysfs refuses new files, to root as well (permission bits would not).
    {"folder that refuses new files", Failure::kFolderRefuses, EACCES},
    {"folder that is a file", Failure::kFolderIsAFile, ENOTDIR},
    // Made a folder between the dialog and the writing: the dialog itself
    // opens a folder that is chosen.
    {"name of a folder", Failure::kNameIsAFolder, 0},
    // A file size limit stands in for a full disk: writing fails halfway.
    {"disk full while writing over a report", Failure::kDiskFull, EFBIG},
    {"failing pass", Failure::kPassFails, 0},
};

class ReportFailureTest : public ReportTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ReportFailureTest, ShowsOneErrorAndLeavesTheFolderAsItWas) {
  const FailureCase& c = GetParam();
  const QString existing = QDir(out_).filePath(QStringLiteral("kelvane-report.pdf"));
  WriteFile(existing, "%PDF-1.4 an earlier report");
  QString path = existing;
  if (c.failure == Failure::kFolderRefuses)
    path = QStringLiteral("/sys/kelvane-report.pdf");
  if (c.failure == Failure::kFolderIsAFile) {
    WriteFile(QDir(out_).filePath(QStringLiteral("notes.txt")), "notes");
    path = QDir(out_).filePath(QStringLiteral("notes.txt/kelvane-report.pdf"));
  }
  if (c.failure == Failure::kNameIsAFolder)
    path = QDir(out_).filePath(QStringLiteral("report"));
  if (c.failure == Failure::kPassFails)
    Type("input_sy", QStringLiteral("1x"));

  std::map<std::string, std::string> before = Snapshot(out_);
  rlimit savedLimit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &savedLimit), 0);
  const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
  const DialogRun run = SaveReport([&](QFileDialog* dialog) {
    Choose(dialog, path);
    if (c.failure == Failure::kNameIsAFolder) {
      ASSERT_TRUE(QDir().mkpath(path));
      WriteFile(path + QStringLiteral("/inside.txt"), "inside");
      before = Snapshot(out_);
    }
    if (c.failure == Failure::kDiskFull) {
      rlimit small = savedLimit;
      small.rlim_cur = 2048;
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
  });
  setrlimit(RLIMIT_FSIZE, &savedLimit);
  std::signal(SIGXFSZ, savedSignal);

  std::string message = "'1x' is not a valid floating point value.";
  if (c.failure != Failure::kPassFails) {
    const QString reason = c.error != 0 ? QString::fromLocal8Bit(std::strerror(c.error))
                                        : QStringLiteral("Filename refers to a directory");
    message = QStringLiteral("Could not save the report to %1: %2.")
                  .arg(QDir::toNativeSeparators(path), reason)
                  .toStdString();
  }
  EXPECT_EQ(Messages(), std::vector<std::string>{message});
  // A failing pass asks for no file.
  EXPECT_EQ(run.shown, c.failure != Failure::kPassFails);
  EXPECT_FALSE(run.leftOpen);
  EXPECT_EQ(Snapshot(out_), before);
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/sys/kelvane-report.pdf")));
}

INSTANTIATE_TEST_SUITE_P(Table, ReportFailureTest, ::testing::ValuesIn(kFailureCases), RowName());

}  // namespace
