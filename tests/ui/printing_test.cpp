// Printing the window on a real printer: a cups-pdf queue that is the CUPS
// server's default (scripts/run-tests.sh sets it up). The PDF it writes is
// checked with poppler's tools. Without such a printer the test is skipped,
// so that it never prints on a real printer of the machine.

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "test_names.h"
#include "window_fixture.h"

namespace {

// Set in the child process whose environment breaks printing.
constexpr char kFailureChild[] = "KELVANE_TEST_PRINTER_FAILURE";

struct ToolResult {
  int exitCode = -1;
  QString output;
};

ToolResult RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 30000) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    return {};
  }
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromLocal8Bit(process.readAll())};
}

/// Why the machine has no safe printer to test with, or an empty text.
QString NoTestPrinterReason() {
  if (!RunTool(QStringLiteral("lpstat"), {QStringLiteral("-r")})
           .output.contains(QLatin1String("scheduler is running")))
    return QStringLiteral("no CUPS scheduler is reachable (make test starts one)");
  const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
  if (printer.isNull())
    return QStringLiteral("CUPS has no default printer");
  const QString device =
      RunTool(QStringLiteral("lpstat"), {QStringLiteral("-v"), printer.printerName()}).output;
  if (!device.contains(QLatin1String("cups-pdf:/")))
    return QStringLiteral("the default printer %1 is not a cups-pdf queue")
        .arg(printer.printerName());
  return {};
}

/// Where cups-pdf writes the PDFs of the current user.
QString PdfDirectory() {
  const passwd* user = getpwuid(getuid());
  const QString home = user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
  const QString name = user ? QString::fromLocal8Bit(user->pw_name) : QString();
  QString out = QStringLiteral("${HOME}/PDF");
  QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
  if (conf.open(QIODevice::ReadOnly | QIODevice::Text)) {
    const QRegularExpression outLine(QStringLiteral("^\\s*Out\\s+(\\S.*?)\\s*$"));
    for (const QString& line : QString::fromLocal8Bit(conf.readAll()).split(QLatin1Char('\n'))) {
      const auto match = outLine.match(line);
      if (match.hasMatch())
        out = match.captured(1);
    }
  }
  return out.replace(QLatin1String("${HOME}"), home).replace(QLatin1String("${USER}"), name);
}

QSet<QString> PdfFiles(const QString& directory) {
  const QStringList names = QDir(directory).entryList({QStringLiteral("*.pdf")}, QDir::Files);
  return QSet<QString>(names.begin(), names.end());
}

/// The first PDF that appears in `directory` beside `before` and that poppler
/// reads completely, or an empty path after `timeoutMs`.
QString WaitForNewPdf(const QString& directory, const QSet<QString>& before, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < timeoutMs) {
    for (const QString& name : PdfFiles(directory) - before) {
      const QString path = QDir(directory).filePath(name);
      if (RunTool(QStringLiteral("pdfinfo"), {path}).exitCode == 0)
        return path;
    }
    QTest::qWait(50);
  }
  return {};
}

/// The bounding box of the pixels that are not white.
QRect InkBounds(const QImage& image) {
  QRect bounds;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
        bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

int ChannelDifference(QRgb p, QRgb q) {
  return std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                   std::abs(qBlue(p) - qBlue(q))});
}

/// The count of pixels of `a` and `b` that differ by more than `tolerance` in a channel.
int DifferingPixels(const QImage& a, const QImage& b, int tolerance) {
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (ChannelDifference(a.pixel(x, y), b.pixel(x, y)) > tolerance)
        ++count;
    }
  }
  return count;
}

class PrintingTest : public ui::testing::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ShowActive();
    // A print dialog or any other modal box would stop the test: it is closed
    // here and reported.
    watchdog_.setSingleShot(true);
    QObject::connect(&watchdog_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        modalSeen_ = modal->metaObject()->className();
        modal->close();
      }
    });
    watchdog_.start(10000);
  }

  void TearDown() override {
    EXPECT_EQ(modalSeen_, "") << "printing opened a modal window";
    WindowTest::TearDown();
  }

  QWidget* ClientArea() { return window_->centralWidget(); }

  void PressCtrlP() { QTest::keyClick(window_.get(), Qt::Key_P, Qt::ControlModifier); }

  QTimer watchdog_;
  std::string modalSeen_;
};

TEST_F(PrintingTest, CtrlPPrintsTheClientAreaAtScreenSizeAtTheTopLeftOfOnePage) {
  const QString reason = NoTestPrinterReason();
  if (!reason.isEmpty())
    GTEST_SKIP() << reason.toStdString();
  QWidget* area = ClientArea();
  ASSERT_NE(area, nullptr);
  ASSERT_EQ(area->size(), QSize(482, 496));
  ASSERT_EQ(area->logicalDpiX(), 96);
  ASSERT_EQ(area->logicalDpiY(), 96);

  // The text cursor and focus frame of a focused box stay out of the picture,
  // and the box keeps its selection (here made from the end backwards).
  QLineEdit* focused = Box("input_sx");
  ASSERT_NE(focused, nullptr);
  QTest::mouseClick(focused, Qt::LeftButton);
  QTest::keyClick(focused, Qt::Key_End);
  QTest::keyClick(focused, Qt::Key_Home, Qt::ShiftModifier);
  ASSERT_TRUE(focused->hasFocus());
  ASSERT_EQ(focused->selectedText().toStdString(), "3.4");

  const QString directory = PdfDirectory();
  const QSet<QString> before = PdfFiles(directory);
  QElapsedTimer clock;
  clock.start();
  PressCtrlP();
  const QString pdf = WaitForNewPdf(directory, before, 20000);
  ASSERT_FALSE(pdf.isEmpty()) << "no new PDF in " << directory.toStdString() << " after 20 s";
  std::cout << "PDF complete " << clock.elapsed() << " ms after Ctrl+P: " << pdf.toStdString()
            << '\n';
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_TRUE(focused->hasFocus()) << "the focus did not come back after printing";
  EXPECT_EQ(focused->selectedText().toStdString(), "3.4");
  EXPECT_EQ(focused->cursorPosition(), 0);

  const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf}).output;
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
      << info.toStdString();

  // One image of the client area's pixel size, placed at 96 pixels per inch.
  const QStringList images = RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf})
                                 .output.split(QLatin1Char('\n'));
  const QStringList rows = images.filter(QRegularExpression(QStringLiteral("^\\s*\\d+\\s")));
  ASSERT_EQ(rows.size(), 1) << images.join(QLatin1Char('\n')).toStdString();
  const QStringList columns = rows.front().split(QLatin1Char(' '), Qt::SkipEmptyParts);
  ASSERT_GE(columns.size(), 14);
  EXPECT_EQ(columns[3].toStdString(), "482");  // width
  EXPECT_EQ(columns[4].toStdString(), "496");  // height
  EXPECT_EQ(columns[12].toStdString(), "96");  // x-ppi
  EXPECT_EQ(columns[13].toStdString(), "96");  // y-ppi

  // On the page rasterised at 96 dpi the picture covers exactly the top-left 482 x 496.
  QTemporaryDir scratch;
  ASSERT_TRUE(scratch.isValid());
  const QString pagePrefix = scratch.filePath(QStringLiteral("page"));
  ASSERT_EQ(RunTool(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), pdf, pagePrefix})
                .exitCode,
            0);
  const QImage page(pagePrefix + QStringLiteral(".png"));
  ASSERT_FALSE(page.isNull());
  const QRect ink = InkBounds(page);
  EXPECT_LE(ink.left(), 0);
  EXPECT_LE(ink.top(), 0);
  EXPECT_NEAR(ink.right(), 481, 1);
  EXPECT_NEAR(ink.bottom(), 495, 1);

  // The image is the client area, pixel for pixel, as the window shows it
  // without keyboard focus: no focus frame, no text cursor, no lossy compression.
  const QString imagePrefix = scratch.filePath(QStringLiteral("image"));
  ASSERT_EQ(
      RunTool(QStringLiteral("pdfimages"), {QStringLiteral("-png"), pdf, imagePrefix}).exitCode, 0);
  const QImage printed =
      QImage(imagePrefix + QStringLiteral("-000.png")).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(printed.size(), QSize(482, 496));
  focused->clearFocus();
  const QImage shown =
      window_->grab(area->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shown.size(), printed.size());
  EXPECT_EQ(DifferingPixels(printed, shown, 2), 0);
}

// A printer that cannot be used: the error box says why and nothing is printed.
// Each row runs in a child process whose environment breaks printing in its
// own way (the CUPS library fixes its server for the life of a process); the
// parent checks that the child passed and that no PDF appeared.
struct PrinterFailureCase {
  const char* name;
  const char* variable;  // set in the child's environment
  const char* value;
  bool needsTestPrinter;  // the failure comes from the default queue itself
  const char* message;
};

const PrinterFailureCase kPrinterFailures[] = {
    {"no default printer", "CUPS_SERVER", "/nonexistent/cups.sock", false,
     "There is no default printer currently selected."},
    // The print job cannot open its spool file, so nothing can be drawn.
    {"printer cannot be drawn on", "TMPDIR", "/nonexistent/tmp", true,
     "Printer selected is not valid."},
};

class PrinterFailureTest : public PrintingTest,
                           public ::testing::WithParamInterface<PrinterFailureCase> {};

TEST_P(PrinterFailureTest, ShowsTheErrorAndPrintsNothing) {
  const PrinterFailureCase& c = GetParam();
  if (!qEnvironmentVariableIsSet(kFailureChild)) {
    if (c.needsTestPrinter) {
      const QString reason = NoTestPrinterReason();
      if (!reason.isEmpty())
        GTEST_SKIP() << reason.toStdString();
    }
    const QString directory = PdfDirectory();
    const QSet<QString> before = PdfFiles(directory);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kFailureChild), QStringLiteral("1"));
    environment.insert(QString::fromLatin1(c.variable), QString::fromLatin1(c.value));
    environment.remove(QStringLiteral("LPDEST"));
    environment.remove(QStringLiteral("PRINTER"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=%1.%2")
                     .arg(QString::fromLatin1(test->test_suite_name()),
                          QString::fromLatin1(test->name()))});
    ASSERT_TRUE(child.waitForFinished(60000)) << "the child test did not finish";
    const std::string output = child.readAll().toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
    // A job would have reached cups-pdf well within this time.
    EXPECT_EQ(WaitForNewPdf(directory, before, 1500).toStdString(), "") << "something was printed";
    return;
  }

  EXPECT_EQ(QPrinterInfo::defaultPrinter().isNull(), !c.needsTestPrinter)
      << "the child's environment does not break printing as intended";
  QLineEdit* s1 = Box("input_s1");
  ASSERT_NE(s1, nullptr);
  const QString shown = s1->text();
  PressCtrlP();
  EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
  EXPECT_EQ(s1->text(), shown);
  EXPECT_TRUE(window_->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Table, PrinterFailureTest, ::testing::ValuesIn(kPrinterFailures),
                         test_names::RowName());

}  // namespace
