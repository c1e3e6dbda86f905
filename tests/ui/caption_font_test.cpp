#include "ui/common/caption_font.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <algorithm>
#include <cmath>
#include <memory>

#include "test_names.h"
#include "ui/main/main_window.h"

namespace {

using test_names::RowName;

// The search the bisection replaces: from the face as given, one stretch
// narrower at a time until every caption fits or the narrowest is reached.
QFont LinearFit(QFont font, const QList<QLabel*>& labels, int narrowest) {
  const auto fits = [&labels](const QFont& candidate) {
    const QFontMetrics metrics(candidate);
    return std::all_of(labels.begin(), labels.end(), [&metrics](const QLabel* label) {
      return metrics.horizontalAdvance(label->text()) <= label->width();
    });
  };
  int stretch = QFont::Unstretched;
  while (!fits(font) && stretch > narrowest)
    font.setStretch(--stretch);
  return font;
}

struct SearchCase {
  const char* name;
  int widestFitting;  // fits(s) holds for s <= widestFitting
  int guess;
  int expected;
  int mostQuestions;
};
const SearchCase kSearchCases[] = {
    {"right guess", 71, 71, 71, 2},
    {"guess one too wide", 71, 72, 71, 2},
    {"guess two too wide", 88, 90, 88, 4},
    {"guess one too narrow", 71, 70, 71, 4},
    {"guess far too wide", 61, 99, 61, 12},
    {"guess far too narrow", 98, 61, 98, 12},
    {"none fits", 40, 75, 60, 12},
    {"only the narrowest fits", 60, 62, 60, 4},
    {"the top", 99, 99, 99, 1},
    {"all would fit", 120, 95, 99, 4},
    {"guess beyond the range", 75, 300, 75, 12},
    {"guess below the range", 75, 40, 75, 12},
};
class StretchSearchTest : public ::testing::TestWithParam<SearchCase> {};

TEST_P(StretchSearchTest, FindsTheWidestFittingStretchAskingLittle) {
  const SearchCase& c = GetParam();
  int asked = 0;
  const int found = ui::WidestFittingStretch(60, 100, c.guess, [&](int s) {
    ++asked;
    EXPECT_GT(s, 60) << "the narrowest is never asked";
    EXPECT_LT(s, 100);
    return s <= c.widestFitting;
  });
  EXPECT_EQ(found, c.expected);
  EXPECT_LE(asked, c.mostQuestions);
}
INSTANTIATE_TEST_SUITE_P(Table, StretchSearchTest, ::testing::ValuesIn(kSearchCases), RowName());

// The real window's captions in the platform's face at several sizes, some
// needing no condensing, some more than the narrowest allows, searched from
// guesses near and far: the face found is the one the one-step search finds.
struct FaceCase {
  const char* name;
  int pixelSize;
  int narrowest;
  int guess;
};
const FaceCase kFaceCases[] = {
    {"layout size", 11, 60, 71},
    {"layout size from the top", 11, 60, 100},
    {"layout size from the bottom", 11, 60, 61},
    {"smaller", 9, 60, 71},
    {"tiny fits as it is", 5, 60, 71},
    {"larger", 13, 60, 71},
    {"far too large", 20, 60, 71},
    {"narrowest near the top", 11, 95, 71},
};
class CondensedToFitTest : public ::testing::TestWithParam<FaceCase> {};

TEST_P(CondensedToFitTest, SameFaceAsTheOneStepSearch) {
  const FaceCase& c = GetParam();
  ui::TFrmMorvane window;
  QWidget* area = window.findChild<QWidget*>(QStringLiteral("ClientArea"));
  ASSERT_NE(area, nullptr);
  const QList<QLabel*> labels = area->findChildren<QLabel*>();
  ASSERT_GE(labels.size(), 36);
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(c.pixelSize);
  const QFont expected = LinearFit(font, labels, c.narrowest);
  const QFont found = ui::CondensedToFit(font, labels, c.narrowest, c.guess);
  EXPECT_EQ(found.stretch(), expected.stretch());
  EXPECT_EQ(found, expected);
}
INSTANTIATE_TEST_SUITE_P(Table, CondensedToFitTest, ::testing::ValuesIn(kFaceCases), RowName());

}  // namespace
