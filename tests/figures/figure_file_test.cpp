// Figure files: the SVG parses and carries the axis titles as text, the PNG
// has the asked size and resolution, for either figure; a name that is
// neither format is refused before anything is written.

#include "figures/figure_file.h"

#include <gtest/gtest.h>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <cmath>
#include <stdexcept>

#include "engine/pass.h"
#include "test_names.h"

namespace figures {
namespace {

struct FigureRow {
  const char* name;
  FigureKind kind;
  engine::MapQuantity map;
  const char* titles[2];  ///< texts the SVG holds
};

const FigureRow kRows[] = {
    {"net with slip tendency map",
     FigureKind::kNet,
     engine::MapQuantity::kSlipTendency,
     {"Y (North)", "Ts/Ts,max"}},
    {"net without map", FigureKind::kNet, engine::MapQuantity::kNone, {"Y (North)", "X"}},
    {"Mohr diagram",
     FigureKind::kMohr,
     engine::MapQuantity::kNone,
     {"Effective normal stress", "Shear stress"}},
};

class FigureFiles : public ::testing::TestWithParam<FigureRow> {};

FigureRequest Request(const FigureRow& row) {
  engine::PassInputs inputs =
      engine::PassInputs::Of({40, 30, 60, 3, -2, 4}, stress::Azimuth::kClockwiseFromNorth);
  inputs.porePressure = 20;
  FigureRequest request;
  request.kind = row.kind;
  request.results = engine::RunPass(inputs);
  request.map = {row.map, {30.0, 2.0}, QStringLiteral("MPa")};
  request.widthMm = 60.0;
  request.heightMm = 50.0;
  request.dpi = 150;
  request.unit = QStringLiteral("MPa");
  request.curves = {OddsCurveOf(QStringLiteral("F1"), CurveColour(0), {3.0, -1.0, 2.0, NAN})};
  return request;
}

TEST_P(FigureFiles, SvgParsesWithItsTitlesAndPngHasTheAskedSize) {
  const FigureRequest request = Request(GetParam());
  const QByteArray svg = FigureBytes(request, FigureFormat::kSvg);
  QSvgRenderer renderer(svg);
  EXPECT_TRUE(renderer.isValid());
  for (const char* title : GetParam().titles)
    EXPECT_TRUE(svg.contains(QByteArray(">") + title)) << title;

  const QImage png = QImage::fromData(FigureBytes(request, FigureFormat::kPng), "PNG");
  EXPECT_EQ(png.size(), QSize(354, 295));  // 60 x 50 mm at 150 dpi
  EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 150.0, 0.5);
  EXPECT_EQ(png.pixel(0, 0), qRgb(255, 255, 255));  // a white ground
}

INSTANTIATE_TEST_SUITE_P(Table, FigureFiles, ::testing::ValuesIn(kRows), test_names::RowName());

TEST(FigureFiles, RefusesOtherNamesAndLeavesTheOldFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("figure.jpg"));
  EXPECT_THROW(WriteFigure(path, Request(kRows[0])), std::runtime_error);
  EXPECT_FALSE(QFile::exists(path));
  const QString png = dir.filePath(QStringLiteral("figure.PNG"));
  WriteFigure(png, Request(kRows[0]));
  EXPECT_EQ(QImage(png).width(), 354);
}

}  // namespace
}  // namespace figures
