// The dialogs that build a stress state: checking as the user types, the
// refusals they name, and the boxes they fill, which read back exactly.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <functional>

#include "analysis/stress_builders.h"
#include "test_names.h"
#include "text/number_text.h"
#include "ui/stress/depth_dialog.h"
#include "ui/stress/principal_dialog.h"
#include "ui/stress/uncertainty_dialog.h"
#include "window_fixture.h"

namespace {

using test_names::RowName;
using ui::testing::WindowTest;

const text::Separators kPoint{QStringLiteral("."), QStringLiteral(",")};

QPushButton* OkOf(QDialog& dialog) {
  return dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
}

void TypeInto(QDialog& dialog, const char* name, const QString& typed) {
  auto* box = dialog.findChild<QLineEdit*>(QLatin1String(name));
  ASSERT_NE(box, nullptr) << name;
  box->selectAll();
  if (typed.isEmpty())
    QTest::keyClick(box, Qt::Key_Delete);
  else
    QTest::keyClicks(box, typed);
}

// ---------------------------------------------------------------------------
// Checking as the user types.

struct TypingCase {
  const char* name;
  bool depth;  // the depth dialog, else the principal one
  const char* box;
  const char* typed;
  bool okEnabled;
  const char* tooltip;  // the marked box's tooltip: the error
};

const TypingCase kTypingCases[] = {
    {"depth that is no number", true, "depthDepth", "2km", false,
     "'2km' is not a valid floating point value"},
    {"decimal comma where the point is the separator", true, "depthShMax", "30,5", false,
     "'30,5' is not a valid floating point value"},
    {"an overflowing gradient", true, "depthShMin", "1e400", false, "Floating point overflow"},
    {"a density not used is not checked", true, "depthDensity", "dense", true, ""},
    {"a valid azimuth", true, "depthAzimuth", "45.5", true, ""},
    {"principal value that is no number", false, "principalS2", "x", false,
     "'x' is not a valid floating point value"},
    {"empty dip", false, "principalS3Dip", "", false, "'' is not a valid floating point value"},
};

class TypingTest : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypingTest, MarksTheBoxAndDisablesOk) {
  const TypingCase& c = GetParam();
  std::unique_ptr<QDialog> dialog;
  if (c.depth)
    dialog = std::make_unique<ui::DepthDialog>(ui::DepthTexts{}, kPoint, nullptr);
  else
    dialog = std::make_unique<ui::PrincipalDialog>(
        ui::PrincipalTexts{}, stress::Azimuth::kClockwiseFromNorth, kPoint, nullptr);
  ASSERT_TRUE(OkOf(*dialog)->isEnabled()) << "the defaults are valid";
  TypeInto(*dialog, c.box, QString::fromUtf8(c.typed));
  EXPECT_EQ(OkOf(*dialog)->isEnabled(), c.okEnabled);
  auto* box = dialog->findChild<QLineEdit*>(QLatin1String(c.box));
  EXPECT_EQ(box->toolTip().toStdString(), c.tooltip);
}

INSTANTIATE_TEST_SUITE_P(Table, TypingTest, ::testing::ValuesIn(kTypingCases), RowName());

// The live summary names the magnitudes and the regime in the chosen units.
TEST(DepthDialog, SummaryFollowsTheUnitSystem) {
  ui::DepthDialog dialog(ui::DepthTexts{}, kPoint, nullptr);
  auto* summary = dialog.findChild<QLabel*>(QStringLiteral("depthSummary"));
  EXPECT_EQ(summary->text().toStdString(),
            "Sv 50.000 MPa, SHmax 60.000 MPa, Shmin 36.000 MPa, Pp 20.000 MPa: strike-slip "
            "faulting regime (Sv between SHmax and Shmin).");
  dialog.findChild<QComboBox*>(QStringLiteral("depthUnits"))->setCurrentIndex(1);
  TypeInto(dialog, "depthSvGradient", QStringLiteral("1.1"));
  EXPECT_EQ(summary->text().toStdString(),
            "Sv 2,200.000 psi, SHmax 60,000.000 psi, Shmin 36,000.000 psi, Pp 20,000.000 psi: "
            "reverse faulting regime (Sv smallest).");
}

// OK refuses axes that are not perpendicular and says how far apart they are.
TEST(PrincipalDialog, NamesTheAngleAndStaysOpen) {
  ui::PrincipalDialog dialog(ui::PrincipalTexts{}, stress::Azimuth::kClockwiseFromNorth, kPoint,
                             nullptr);
  TypeInto(dialog, "principalS3Dip", QStringLiteral("3"));
  dialog.show();
  QTest::mouseClick(OkOf(dialog), Qt::LeftButton);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.State().has_value());
  EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("principalProblem"))->text().toStdString(),
            "The s1 and s3 axes are 87.00\u00b0 apart; they must be perpendicular within 2\u00b0.");
}

// ---------------------------------------------------------------------------
// The boxes a builder fills, through the window's menu.

class BuilderTest : public WindowTest {
 protected:
  /// Triggers `item`; once its dialog is up, `fill` types into it and OK is clicked.
  void RunDialog(const char* item, const std::function<void(QDialog&)>& fill) {
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible())
        return;
      poll.stop();
      fill(*dialog);
      QTest::mouseClick(OkOf(*dialog), Qt::LeftButton);
      if (dialog->isVisible())
        dialog->reject();
    });
    poll.start();
    Find<QAction>(item)->trigger();
  }

  /// The six stress boxes as doubles, read in the window's format.
  stress::StressState Boxes() {
    const text::Separators separators = window_->CurrentSeparators();
    const auto read = [&](const char* name) {
      return text::ReadNumber(Box(name)->text(), separators);
    };
    return {read("input_sx"),  read("input_sy"),  read("input_sz"),
            read("input_txy"), read("input_tyx"), read("input_tzx")};
  }
};

void ExpectSameBits(const stress::StressState& a, const stress::StressState& b) {
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0)
      << a.sx << " " << a.sy << " " << a.sz << " " << a.txy << " " << a.tyz << " " << a.tzx;
}

TEST_F(BuilderTest, PrincipalStressesComeBackAsTyped) {
  Show();
  RunDialog("mnuStressFromPrincipal", [](QDialog& d) {
    TypeInto(d, "principalS1", QStringLiteral("31.5"));
    TypeInto(d, "principalS2", QStringLiteral("20"));
    TypeInto(d, "principalS3", QStringLiteral("-4.25"));
    TypeInto(d, "principalS1Azimuth", QStringLiteral("40"));
    TypeInto(d, "principalS1Dip", QStringLiteral("60"));
    TypeInto(d, "principalS3Azimuth", QStringLiteral("220"));
    TypeInto(d, "principalS3Dip", QStringLiteral("30"));
  });
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  analysis::PrincipalInput in{31.5, 20, -4.25, 40, 60, 220, 30};
  ExpectSameBits(Boxes(), *analysis::BuildFromPrincipal(in).state);
  EXPECT_EQ(Texts(std::array{"input_s1", "input_s2", "input_s3", "input_s1_beta", "input_s1_psi",
                             "input_s3_beta", "input_s3_psi"}),
            (std::vector<std::string>{"31.500", "20.000", "-4.250", "40.00", "60.00", "220.00",
                                      "30.00"}));
}

TEST_F(BuilderTest, DepthFillsStressesPorePressureAndUnitUnderADecimalComma) {
  ui::testing::AnnounceLocale(QLocale(QLocale::German, QLocale::Germany));
  Show();
  errors_.Clear();  // the first pass stops at the default "3.4"
  RunDialog("mnuStressFromDepth", [](QDialog& d) {
    // The defaults are shown in the user's format too.
    EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("depthDensity"))->text().toStdString(), "2,5");
    TypeInto(d, "depthDepth", QStringLiteral("1234,5"));
    TypeInto(d, "depthAzimuth", QStringLiteral("30"));
  });
  EXPECT_EQ(Messages(), std::vector<std::string>{});
  analysis::DepthProfile p;
  p.depth = 1234.5;
  p.verticalGradient = 25;
  p.shMaxGradient = 30;
  p.shMinGradient = 18;
  p.porePressureGradient = 10;
  p.shMaxAzimuth = 30;
  const analysis::DepthStresses s = analysis::StressesAtDepth(p);
  ExpectSameBits(Boxes(), analysis::HorizontalTensor(s.sv, s.shMax, s.shMin, 30));
  EXPECT_EQ(window_->PorePressure(), s.porePressure);
  EXPECT_EQ(window_->PorePressureText().toStdString(), "12,345");
  EXPECT_EQ(window_->StressUnit().toStdString(), "MPa");
  EXPECT_TRUE(Find<QAction>("mnuStressUnitMPa")->isChecked());
  EXPECT_EQ(Text("input_s1_beta"), "30,00");  // SHmax is s1 here, along its azimuth
}

}  // namespace

namespace {

// The uncertainty dialog shows the settings it is given and gives them back;
// a width typed on a row without a distribution takes the uniform one.
TEST(UncertaintyDialogTest, GivesBackItsSettingsAndTypedWidths) {
  using engine::Spread;
  using engine::Uncertain;
  engine::UncertaintySettings settings;
  settings[Uncertain::kPorePressure] = {Spread::Shape::kUniform, 5.0};
  settings[Uncertain::kMu] = {Spread::Shape::kNormal, 0.05};
  settings[Uncertain::kDip] = {Spread::Shape::kNormal, 2.5};
  settings.realizations = 1234;
  settings.seed = 42;
  ui::UncertaintyDialog dialog(settings);
  const engine::UncertaintySettings shown = dialog.Settings();
  for (int k = 0; k < engine::kUncertainCount; ++k) {
    SCOPED_TRACE(engine::UncertainName(static_cast<Uncertain>(k)));
    EXPECT_EQ(shown.spreads[k].shape, settings.spreads[k].shape);
    EXPECT_EQ(shown.spreads[k].width, settings.spreads[k].width);
  }
  EXPECT_EQ(shown.realizations, 1234);
  EXPECT_EQ(shown.seed, 42u);

  auto* width = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("width_azimuth"));
  ASSERT_NE(width, nullptr);
  width->setValue(10.0);
  EXPECT_EQ(dialog.Settings()[Uncertain::kAzimuth].shape, Spread::Shape::kUniform);
  auto* friction = dialog.findChild<QComboBox*>(QStringLiteral("frictionKind"));
  friction->setCurrentIndex(0);  // the friction row as an angle
  EXPECT_EQ(dialog.Settings()[Uncertain::kMu].shape, Spread::Shape::kNone);
  EXPECT_EQ(dialog.Settings()[Uncertain::kPhi].shape, Spread::Shape::kNormal);
}

}  // namespace
