// The guard between a failing command and the user: the text of the error box,
// one report per failure, and the real modal box with its caption, icon and button.

#include "ui/common/error_guard.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "numeric/floating_point_error.h"
#include "test_names.h"
#include "text/number_text.h"
#include "window_fixture.h"

namespace ui {
namespace {

using test_names::RowName;

// "." is appended when the message's last character comes after "." in
// character order; the characters before it ("!", quotes, parentheses, ",",
// "-", a line break) and "." itself get none.
struct BoxTextCase {
  const char* name;
  const char* message;
  const char* text;
};

const BoxTextCase kBoxTextCases[] = {
    {"conversion message", "'1x' is not a valid floating point value",
     "'1x' is not a valid floating point value."},
    {"overflow message", "Floating point overflow", "Floating point overflow."},
    {"ends in a digit", "Win32 Error.  Code: 5", "Win32 Error.  Code: 5."},
    {"ends in a full stop", "Printer selected is not valid.", "Printer selected is not valid."},
    {"slash sorts after the full stop", "path a/", "path a/."},
    {"question mark sorts after the full stop", "why?", "why?."},
    {"non ASCII letter sorts after the full stop", "caf\u00e9", "caf\u00e9."},
    {"comma sorts before the full stop", "a,", "a,"},
    {"hyphen sorts before the full stop", "a-", "a-"},
    {"single quote sorts before the full stop", "value 'x'", "value 'x'"},
    {"double quote sorts before the full stop", "value \"x\"", "value \"x\""},
    {"parenthesis sorts before the full stop", "(none)", "(none)"},
    {"exclamation mark sorts before the full stop", "stop!", "stop!"},
    {"line break sorts before the full stop", "two\nlines\n", "two\nlines\n"},
    {"empty message", "", ""},
};

class ErrorBoxTextTest : public ::testing::TestWithParam<BoxTextCase> {};

TEST_P(ErrorBoxTextTest, AppendsAFullStopAfterCharactersSortingAfterIt) {
  const BoxTextCase& c = GetParam();
  EXPECT_EQ(ErrorBoxText(QString::fromUtf8(c.message)).toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Table, ErrorBoxTextTest, ::testing::ValuesIn(kBoxTextCases), RowName());

/// Records what the guard reports instead of showing a box.
class GuardTest : public ::testing::Test {
 protected:
  const std::vector<testing::ErrorCapture::Report>& Reports() const { return errors_.Reports(); }

  testing::ErrorCapture errors_;
};

TEST_F(GuardTest, SuccessfulWorkReportsNothing) {
  int runs = 0;
  EXPECT_TRUE(RunGuarded(nullptr, [&runs] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(Reports().empty());
}

struct FailureCase {
  const char* name;
  void (*fail)();
  const char* text;
};

const FailureCase kFailureCases[] = {
    {"conversion error", [] { throw text::ConversionError(QStringLiteral("1x")); },
     "'1x' is not a valid floating point value."},
    {"empty text", [] { throw text::ConversionError(QString()); },
     "'' is not a valid floating point value."},
    {"overflow", [] { numeric::ThrowOverflow(); }, "Floating point overflow."},
    {"invalid operation", [] { numeric::ThrowInvalidOperation(); },
     "Invalid floating point operation."},
    {"division by zero", [] { numeric::ThrowDivisionByZero(); },
     "Floating point division by zero."},
    {"printer error",
     [] { throw std::runtime_error("There is no default printer currently selected"); },
     "There is no default printer currently selected."},
};

class GuardFailureTest : public GuardTest, public ::testing::WithParamInterface<FailureCase> {};

// The failure ends the work where it arises, is reported once, and what the
// work did before it stays done.
TEST_P(GuardFailureTest, ReportsOnceAndKeepsWhatWasDone) {
  const FailureCase& c = GetParam();
  QWidget parent;
  int before = 0;
  int after = 0;
  EXPECT_FALSE(RunGuarded(&parent, [&] {
    ++before;
    c.fail();
    ++after;
  }));
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 0);
  ASSERT_EQ(Reports().size(), 1u);
  EXPECT_EQ(Reports()[0].text, c.text);
  EXPECT_EQ(Reports()[0].parent, &parent);
}

INSTANTIATE_TEST_SUITE_P(Table, GuardFailureTest, ::testing::ValuesIn(kFailureCases), RowName());

TEST_F(GuardTest, EachFailureIsReportedOnItsOwn) {
  EXPECT_FALSE(RunGuarded(nullptr, [] { numeric::ThrowOverflow(); }));
  EXPECT_TRUE(RunGuarded(nullptr, [] {}));
  EXPECT_FALSE(RunGuarded(nullptr, [] { throw text::ConversionError(QStringLiteral("a")); }));
  ASSERT_EQ(Reports().size(), 2u);
  EXPECT_EQ(Reports()[0].text, "Floating point overflow.");
  EXPECT_EQ(Reports()[1].text, "'a' is not a valid floating point value.");
}

TEST_F(GuardTest, SetErrorReporterHandsBackTheReporterItReplaces) {
  int other = 0;
  ErrorReporter mine = SetErrorReporter([&other](QWidget*, const QString&) { ++other; });
  EXPECT_FALSE(RunGuarded(nullptr, [] { numeric::ThrowOverflow(); }));
  EXPECT_EQ(other, 1);
  EXPECT_TRUE(Reports().empty());
  SetErrorReporter(mine);
  EXPECT_FALSE(RunGuarded(nullptr, [] { numeric::ThrowOverflow(); }));
  EXPECT_EQ(other, 1);
  EXPECT_EQ(Reports().size(), 1u);
}

TEST(DefaultReporterTest, ShowsAModalStopBoxWithOneOkButton) {
  ASSERT_EQ(QApplication::applicationName(), QStringLiteral("Kelvane"));
  QWidget window;
  window.show();

  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::vector<std::string> buttons;
  QWidget* parent = nullptr;
  bool modal = false;
  const testing::ModalOutcome outcome = testing::AnswerModalBox(
      [&window] {
        EXPECT_FALSE(
            RunGuarded(&window, [] { throw text::ConversionError(QStringLiteral("1x")); }));
      },
      [&](QMessageBox* box) {
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton* button : box->buttons())
          buttons.push_back(button->text().remove(QLatin1Char('&')).toStdString());
        parent = box->parentWidget();
        modal = box->isModal();
        box->buttons().constFirst()->click();
      });

  ASSERT_TRUE(outcome.appeared) << "no modal message box appeared";
  EXPECT_FALSE(outcome.leftOpen) << "the box stays open after OK";
  EXPECT_EQ(caption.toStdString(), "Kelvane");
  EXPECT_EQ(text.toStdString(), "'1x' is not a valid floating point value.");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(parent, &window);
  EXPECT_TRUE(modal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the box stays open after OK";
}

}  // namespace
}  // namespace ui
