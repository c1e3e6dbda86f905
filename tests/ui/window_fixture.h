#pragma once
// The main window as the GUI tests drive it: a fresh window for each test,
// shown when the test says so, its error boxes kept as texts, its controls
// found by objectName and driven with mouse and keyboard as a user does.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "projection/point_series.h"
#include "ui/charts/net_chart.h"
#include "ui/common/error_guard.h"
#include "ui/main/main_window.h"

namespace ui::testing {

/// The 21 result boxes, in the order a complete pass writes them.
inline constexpr std::array<const char*, 21> kResultBoxes = {
    "input_s1",      "input_s2",     "input_s3",      "input_s1_beta", "input_s1_psi",
    "input_s2_beta", "input_s2_psi", "input_s3_beta", "input_s3_psi",  "edtL1",
    "edtM1",         "edtN1",        "edtL2",         "edtM2",         "edtN2",
    "edtL3",         "edtM3",        "edtN3",         "input_sigma",   "input_tau",
    "input_taulim"};

/// While it lives, what the guard reports is kept here instead of shown in a
/// box; the reporter it replaced is put back when it ends.
class ErrorCapture {
 public:
  struct Report {
    QWidget* parent;
    std::string text;
  };

  ErrorCapture()
      : previous_(SetErrorReporter([this](QWidget* parent, const QString& text) {
          reports_.push_back({parent, text.toStdString()});
        })) {}
  ~ErrorCapture() { SetErrorReporter(previous_); }
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  const std::vector<Report>& Reports() const { return reports_; }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Report& report : reports_)
      texts.push_back(report.text);
    return texts;
  }
  void Clear() { reports_.clear(); }
  /// From now on the reporter that was in place before shows its boxes.
  void ShowRealBoxes() { SetErrorReporter(previous_); }

 private:
  std::vector<Report> reports_;
  ErrorReporter previous_;
};

/// How a modal message box opened by a command went.
struct ModalOutcome {
  bool appeared = false;  ///< a visible message box became the active modal widget
  bool leftOpen = false;  ///< still open after 5 s, and closed so that the test ends
};

/// Runs `command`, which opens a modal message box and returns once it is
/// closed. `answer` gets the box as soon as it is visible, from the box's own
/// event loop, reads what it needs and closes it.
inline ModalOutcome AnswerModalBox(const std::function<void()>& command,
                                   const std::function<void(QMessageBox*)>& answer) {
  ModalOutcome outcome;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible())
      return;
    poll.stop();
    outcome.appeared = true;
    answer(box);
  });
  poll.start();
  QTimer rescue;
  rescue.setSingleShot(true);
  QObject::connect(&rescue, &QTimer::timeout, [&outcome] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      outcome.leftOpen = true;
      modal->close();
    }
  });
  rescue.start(5000);
  command();
  return outcome;
}

/// A source that is no regular file, made in a folder, and the reason the
/// readers give for refusing it.
struct NotRegularFile {
  const char* name;
  std::function<QString(const QString& folder)> make;
  const char* reason;
};
inline void PrintTo(const NotRegularFile& row, std::ostream* os) {
  *os << row.name;
}

/// A FIFO (an open would block for good), a device (a read would fill the
/// memory) and a folder.
inline const std::vector<NotRegularFile> kNotRegularFiles = {
    {"FIFO",
     [](const QString& folder) {
       const QString path = folder + QStringLiteral("/pipe");
       EXPECT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
       return path;
     },
     "it is not a regular file"},
    {"device", [](const QString&) { return QStringLiteral("/dev/zero"); },
     "it is not a regular file"},
    {"folder", [](const QString& folder) { return folder; }, "it is a folder"},
};

/// Runs `command`, which must refuse `path` without opening it. Should it
/// open a FIFO after all and block, a writer releases it after 5 s, so that
/// the test fails instead of hanging.
inline void RunReleasingFifo(const QString& path, const std::function<void()>& command) {
  std::atomic<bool> returned{false};
  std::thread writer([&] {
    for (int i = 0; i < 500 && !returned; ++i)
      QThread::msleep(10);
    if (const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK); fd >= 0)
      ::close(fd);
  });
  command();
  returned = true;
  writer.join();
}

/// Makes `locale` the default and announces the change to the application,
/// as the platform does when the user's regional settings change.
inline void AnnounceLocale(const QLocale& locale) {
  QLocale::setDefault(locale);
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(qApp, &change);
}

/// A new, hidden window under US English regional settings, whose error
/// boxes are kept as texts.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedLocale_ = QLocale();
    AnnounceLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    window_ = std::make_unique<TFrmMorvane>();
  }

  void TearDown() override {
    window_.reset();
    AnnounceLocale(savedLocale_);
  }

  void Show() { window_->show(); }

  /// Shows the window and waits until it takes keyboard input.
  void ShowActive() {
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get())) << "window never became active";
  }

  /// The control named `name`; a missing one fails the test with its name.
  template <typename T = QWidget>
  T* Find(const char* name) {
    T* control = window_->findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr)
      ADD_FAILURE() << "no control named " << name;
    return control;
  }

  QLineEdit* Box(const char* name) { return Find<QLineEdit>(name); }

  std::string Text(const char* name) {
    const QLineEdit* box = Box(name);
    return box == nullptr ? std::string("<missing>") : box->text().toStdString();
  }

  /// The texts of the boxes `names`, in their order.
  template <std::size_t N>
  std::vector<std::string> Texts(const std::array<const char*, N>& names) {
    std::vector<std::string> texts;
    for (const char* name : names)
      texts.push_back(Text(name));
    return texts;
  }

  /// Replaces the text of a box as the user does: select all, then type it
  /// (or press Delete for an empty text).
  void Type(const char* name, const QString& text) {
    QLineEdit* box = Box(name);
    ASSERT_NE(box, nullptr);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(box, Qt::Key_Delete);
    } else {
      QTest::keyClicks(box, text);
    }
    ASSERT_EQ(box->text(), text) << name;
  }

  void Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }

  /// The points chart series n (1 to 6) holds.
  const projection::PointList& Points(int n) { return Find<NetChartView>("Chart1")->Points(n); }

  /// The labels of the poles on the chart, sorted.
  std::vector<std::string> PoleLabels() {
    std::vector<std::string> labels;
    for (const auto& point : Points(NetChartView::kPoleSeries).Points())
      labels.push_back(point.label);
    std::sort(labels.begin(), labels.end());
    return labels;
  }

  /// The texts of the error boxes so far, in order.
  std::vector<std::string> Messages() const { return errors_.Texts(); }

  ErrorCapture errors_;
  std::unique_ptr<TFrmMorvane> window_;

 private:
  QLocale savedLocale_;
};

}  // namespace ui::testing
