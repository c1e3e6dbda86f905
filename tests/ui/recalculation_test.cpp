// The pass as the window runs it: the first pass when the window is shown, a
// failing pass that leaves every box as it was, the real error box, and the
// user's separators read again when the locale changes.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "test_names.h"
#include "ui/error_guard.h"
#include "ui/main_window.h"

namespace {

using test_names::RowName;

constexpr std::array<const char*, 31> kAllBoxes = {
    "input_sx",        "input_sy",        "input_sz",      "input_txy",     "input_tyx",
    "input_tzx",       "input_s1",        "input_s2",      "input_s3",      "input_s1_beta",
    "input_s1_psi",    "input_s2_beta",   "input_s2_psi",  "input_s3_beta", "input_s3_psi",
    "edtL1",           "edtM1",           "edtN1",         "edtL2",         "edtM2",
    "edtN2",           "edtL3",           "edtM3",         "edtN3",         "input_joint_beta",
    "input_joint_psi", "input_joint_phi", "input_joint_c", "input_sigma",   "input_tau",
    "input_taulim"};

/// The default locale as the user's regional settings, announced to the
/// application as the platform does.
void ChangeLocale(const QLocale& locale) {
  QLocale::setDefault(locale);
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(qApp, &change);
}

class PassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedLocale_ = QLocale();
    ChangeLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    previousReporter_ = ui::SetErrorReporter(
        [this](QWidget*, const QString& text) { messages_.push_back(text.toStdString()); });
    window_ = std::make_unique<ui::TFrmMorvane>();
  }

  void TearDown() override {
    window_.reset();
    ui::SetErrorReporter(previousReporter_);
    ChangeLocale(savedLocale_);
  }

  QLineEdit* Box(const char* name) {
    auto* box = window_->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (box == nullptr)
      ADD_FAILURE() << "no box named " << name;
    return box;
  }

  std::string Text(const char* name) {
    QLineEdit* box = Box(name);
    return box == nullptr ? std::string() : box->text().toStdString();
  }

  /// Replaces the text of a box by typing, as the user does.
  void Type(const char* name, const QString& text) {
    QLineEdit* box = Box(name);
    ASSERT_NE(box, nullptr);
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
    ASSERT_EQ(box->text(), text) << name;
  }

  void ClickCalculate() {
    auto* button = window_->findChild<QAbstractButton*>(QStringLiteral("Button1"));
    ASSERT_NE(button, nullptr) << "no control named Button1";
    QTest::mouseClick(button, Qt::LeftButton);
  }

  std::map<std::string, std::string> AllTexts() {
    std::map<std::string, std::string> texts;
    for (const char* name : kAllBoxes)
      texts[name] = Text(name);
    return texts;
  }

  QLocale savedLocale_;
  std::unique_ptr<ui::TFrmMorvane> window_;
  std::vector<std::string> messages_;
  ui::ErrorReporter previousReporter_;
};

TEST_F(PassTest, ShowingTheWindowFillsThePrincipalStresses) {
  EXPECT_EQ(Text("input_s1"), "input_s1");
  window_->show();
  EXPECT_TRUE(messages_.empty());
  EXPECT_EQ(Text("input_s1"), "8.794");
  EXPECT_EQ(Text("input_s2"), "3.341");
  EXPECT_EQ(Text("input_s3"), "0.266");
  // The joint is off at start: its results are not written.
  EXPECT_EQ(Text("input_sigma"), "");
}

// Only the first showing runs the pass: a bad box read by a second one would
// be reported, as Calculate shows.
TEST_F(PassTest, ShowingTheWindowAgainRunsNoPass) {
  window_->show();
  Type("input_sy", QStringLiteral("1x"));
  window_->hide();
  window_->show();
  EXPECT_TRUE(messages_.empty());
  ClickCalculate();
  EXPECT_EQ(messages_, std::vector<std::string>{"'1x' is not a valid floating point value."});
}

struct FailureCase {
  const char* name;
  std::vector<std::pair<const char*, const char*>> typed;  // box, text
  const char* message;
};

const FailureCase kFailureCases[] = {
    {"not a number", {{"input_sy", "1x"}}, "'1x' is not a valid floating point value."},
    {"empty box", {{"input_tzx", ""}}, "'' is not a valid floating point value."},
    {"input beyond the double range", {{"input_sx", "1e400"}}, "Floating point overflow."},
    {"principal values beyond the double range",
     {{"input_sx", "1e52"},
      {"input_sy", "0"},
      {"input_sz", "0"},
      {"input_txy", "0"},
      {"input_tyx", "0"},
      {"input_tzx", "0"}},
     "Floating point overflow."},
};

class FailureTest : public PassTest, public ::testing::WithParamInterface<FailureCase> {};

// The pass stops before it writes anything: every box keeps its text.
TEST_P(FailureTest, ReportsOnceAndChangesNoBox) {
  const FailureCase& c = GetParam();
  window_->show();
  ASSERT_TRUE(messages_.empty());
  for (const auto& [name, text] : c.typed)
    Type(name, QString::fromLatin1(text));
  const std::map<std::string, std::string> before = AllTexts();

  ClickCalculate();

  EXPECT_EQ(messages_, std::vector<std::string>{c.message});
  EXPECT_EQ(AllTexts(), before);
}

INSTANTIATE_TEST_SUITE_P(Table, FailureTest, ::testing::ValuesIn(kFailureCases), RowName());

// With "," as decimal separator the default "3.4" is not a number; once the
// user types "3,4" the results appear with ",".
TEST_F(PassTest, FollowsTheDecimalSeparatorOfTheLocale) {
  ChangeLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral(","));
  window_->show();
  EXPECT_EQ(messages_, std::vector<std::string>{"'3.4' is not a valid floating point value."});
  EXPECT_EQ(Text("input_s1"), "input_s1");

  Type("input_sx", QStringLiteral("3,4"));
  ClickCalculate();
  EXPECT_EQ(messages_.size(), 1u);
  EXPECT_EQ(Text("input_s1"), "8,794");
  EXPECT_EQ(Text("input_s2"), "3,341");
  EXPECT_EQ(Text("input_s3"), "0,266");
}

// The separators change when the change is announced, not before.
TEST_F(PassTest, ReadsTheSeparatorsAgainWhenTheLocaleChangeIsAnnounced) {
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral("."));
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral("."));
  QEvent change(QEvent::LocaleChange);
  QApplication::sendEvent(qApp, &change);
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral(","));
  EXPECT_EQ(window_->CurrentSeparators().thousands, QStringLiteral("."));
  ChangeLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(window_->CurrentSeparators().decimal, QStringLiteral("."));
  EXPECT_EQ(window_->CurrentSeparators().thousands, QStringLiteral(","));
}

// The real box over the window: after "OK" the window goes on working and
// the next pass completes.
TEST_F(PassTest, ErrorBoxOverTheWindowThenTheWindowGoesOn) {
  ui::SetErrorReporter(previousReporter_);  // the box the program shows
  window_->show();
  Type("input_sy", QStringLiteral("1x"));

  QString caption;
  QString text;
  QWidget* parent = nullptr;
  // Reads the box once it is up and presses "OK"; the box's own loop runs the timer.
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible())
      return;
    poll.stop();
    caption = box->windowTitle();
    text = box->text();
    parent = box->parentWidget();
    box->button(QMessageBox::Ok)->click();
  });
  poll.start();
  // A box still open after a few seconds would hang the test: close it.
  QTimer rescue;
  rescue.setSingleShot(true);
  QObject::connect(&rescue, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget())
      modal->close();
  });
  rescue.start(5000);
  ClickCalculate();

  EXPECT_EQ(caption.toStdString(), "Kelvane");
  EXPECT_EQ(text.toStdString(), "'1x' is not a valid floating point value.");
  EXPECT_EQ(parent, window_.get());

  Type("input_sy", QStringLiteral("1"));
  Box("input_s1")->setText(QStringLiteral("stale"));
  ClickCalculate();
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Text("input_s1"), "8.794");
}

}  // namespace
