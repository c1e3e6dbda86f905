#include "ui/report/report_page.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "figures/figure_style.h"
#include "figures/mohr_painter.h"
#include "figures/net_painter.h"
#include "tables/plane_csv.h"
#include "text/result_rows.h"
#include "text/shown_fields.h"
#include "ui/report/page_sheet.h"

namespace ui {
namespace {

using text::Field;

// The page is laid out in points from the top-left corner of the area inside
// the margins; A4 is 595.28 x 841.89 points.
constexpr double kColumnGap = 24.0;
constexpr double kNetSize = 235.0;  // 8.3 cm
constexpr double kMohrHeight = 200.0;
constexpr double kSectionGap = 16.0;
constexpr double kSmallRowHeight = 12.0;
// Columns of a symbol ("txy", "s1") and of a value: wide enough for
// "-123,456,789.123" in the body font; longer numbers are set smaller.
constexpr double kNameWidth = 30.0;
constexpr double kValueWidth = 84.0;
// Planes in the table of the planes page, and where its colour bar stands.
constexpr std::size_t kPlaneRows = 25;
constexpr double kOddsHeight = 190.0;
constexpr double kColourBarLeft = 110.0;
constexpr double kColourBarWidth = 160.0;

// The joint's inputs in the order the page lists them.
constexpr Field kJointInputs[] = {Field::kJointDipDirection, Field::kJointDip,
                                  Field::kJointFriction, Field::kJointCohesion};
// The stress components in the order the page lists them.
constexpr Field kStressInputs[] = {Field::kSx,  Field::kSy,  Field::kSz,
                                   Field::kTxy, Field::kTyz, Field::kTzx};
constexpr Field kJointResults[] = {Field::kSigma, Field::kTau, Field::kTauLim};

QColor PrincipalColour(int i) {
  return figures::ToQColor(text::FieldOf(text::ValueField(i)).colour);
}

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

class ReportPage {
 public:
  ReportPage(QPainter& painter, const ReportContent& content)
      : sheet_(painter, painter.device()->logicalDpiX() / 72.0),
        content_(content),
        derived_(text::DerivedRows(content.results, content.separators, content.unit)) {
    const double pageWidth = painter.device()->width() / sheet_.Unit();
    const double pageHeight = painter.device()->height() / sheet_.Unit();
    width_ = pageWidth - 2.0 * kPageMargin;
    height_ = pageHeight - 2.0 * kPageMargin;
    columnWidth_ = (width_ - kColumnGap) / 2.0;
  }

  void Paint() {
    double y = Title();
    const double left = Inputs(0.0, y);
    const double right = Results(columnWidth_ + kColumnGap, y);
    y = Figures(std::max(left, right) + kSectionGap);
    Derived(y + kSectionGap);
    Footer();
  }

 private:
  bool JointActive() const { return content_.results.jointActive; }
  QString Shown(Field field) const {
    return text::ShownText(content_.results, field, content_.separators);
  }
  /// An input as the user would type it; the no-value text where the pass did
  /// not read it.
  QString Input(Field field) const {
    const std::optional<double> value = text::ShownValue(content_.results, field);
    return value.has_value() ? text::InputText(*value, content_.separators) : text::NoValueText();
  }

  double Title() {
    sheet_.Text(0.0, 0.0, width_, 26.0, Qt::AlignLeft | Qt::AlignBottom,
                QStringLiteral("Stress state"), Sheet::Font(kTitlePoints, true));
    const QLocale& locale = content_.locale;
    const QString written = locale.toString(content_.written.date(), QLocale::LongFormat) +
                            QStringLiteral(", ") +
                            locale.toString(content_.written.time(), QLocale::ShortFormat);
    sheet_.Text(0.0, 0.0, width_, 24.0, Qt::AlignRight | Qt::AlignBottom, written,
                Sheet::Font(kBodyPoints), kNoteGrey);
    sheet_.Rule(0.0, 31.0, width_);
    return 42.0;
  }

  double Inputs(double x, double y) {
    y = sheet_.Heading(x, y, columnWidth_, QStringLiteral("Inputs"));
    y = sheet_.Note(x, y, columnWidth_,
                    QStringLiteral("Stress components in the frame x East, y North, z up; "
                                   "compression positive") +
                        (content_.unit.isEmpty() ? QStringLiteral(".")
                                                 : QStringLiteral("; stresses in ") +
                                                       content_.unit + QLatin1Char('.')));
    const std::vector<Column> columns = {{kNameWidth, Qt::AlignLeft},
                                         {kValueWidth, Qt::AlignRight},
                                         {columnWidth_ - kNameWidth - kValueWidth, Qt::AlignLeft}};
    const char* descriptions[] = {"normal stress, x (East)", "normal stress, y (North)",
                                  "normal stress, z (up)",   "shear stress, xy",
                                  "shear stress, yz",        "shear stress, zx"};
    std::vector<std::vector<Cell>> rows;
    for (int i = 0; i < 6; ++i)
      rows.push_back(
          {{Utf8(text::FieldOf(kStressInputs[i]).name), Qt::black, true},
           {Input(kStressInputs[i])},
           {QStringLiteral("   ") + Utf8(descriptions[i]), kNoteGrey, false, kSmallPoints}});
    rows.push_back({{QStringLiteral("Pp"), Qt::black, true},
                    {text::InputText(content_.results.porePressure, content_.separators)},
                    {QStringLiteral("   pore pressure (effective = total \u2212 Pp)"), kNoteGrey,
                     false, kSmallPoints}});
    y = sheet_.Table(x, y, columns, rows);
    if (!JointActive())
      return y;

    y = sheet_.Heading(x, y + 8.0, columnWidth_, QStringLiteral("Joint"));
    const char* symbols[] = {"\u03b2", "\u03c8", "\u03c6", "c"};
    const char* jointDescriptions[] = {"dip direction (\u00b0)", "dip (\u00b0)",
                                       "friction angle (\u00b0)", "cohesion"};
    rows.clear();
    for (int i = 0; i < 4; ++i)
      rows.push_back(
          {{Utf8(symbols[i]), Qt::black, true},
           {Input(kJointInputs[i])},
           {QStringLiteral("   ") + Utf8(jointDescriptions[i]), kNoteGrey, false, kSmallPoints}});
    return sheet_.Table(x, y, columns, rows);
  }

  double Results(double x, double y) {
    y = sheet_.Heading(x, y, columnWidth_, QStringLiteral("Principal stresses"));
    const double angleWidth = (columnWidth_ - kNameWidth - kValueWidth) / 2.0;
    const std::vector<Column> principal = {{kNameWidth, Qt::AlignLeft},
                                           {kValueWidth, Qt::AlignRight},
                                           {angleWidth, Qt::AlignRight},
                                           {angleWidth, Qt::AlignRight}};
    std::vector<std::vector<Cell>> rows = {
        {{},
         {QStringLiteral("value"), kNoteGrey, false, kSmallPoints},
         {Utf8("azimuth (\u00b0)"), kNoteGrey, false, kSmallPoints},
         {Utf8("dip (\u00b0)"), kNoteGrey, false, kSmallPoints}}};
    for (int i = 0; i < 3; ++i) {
      const QColor colour = PrincipalColour(i);
      rows.push_back({{Utf8(text::FieldOf(text::ValueField(i)).name), colour, true},
                      {Shown(text::ValueField(i)), colour},
                      {Shown(text::AzimuthField(i)), colour},
                      {Shown(text::DipField(i)), colour}});
    }
    y = sheet_.Table(x, y, principal, rows);
    const QString convention = content_.results.azimuth == stress::Azimuth::kClockwiseFromNorth
                                   ? QStringLiteral("azimuth clockwise from North")
                                   : QStringLiteral("azimuth counter-clockwise from East");
    y = sheet_.Note(x, y + 2.0, columnWidth_,
                    QStringLiteral("Axes pointing downward; dip below the horizontal;\n") +
                        convention + QLatin1Char('.'));

    y = sheet_.Heading(x, y + 6.0, columnWidth_, QStringLiteral("Direction cosines"));
    const double cosineWidth = (columnWidth_ - 64.0) / 3.0;
    const std::vector<Column> cosines = {{64.0, Qt::AlignLeft},
                                         {cosineWidth, Qt::AlignRight},
                                         {cosineWidth, Qt::AlignRight},
                                         {cosineWidth, Qt::AlignRight}};
    rows = {{{}}};
    for (int i = 0; i < 3; ++i)
      rows.front().push_back(
          {Utf8(text::FieldOf(text::ValueField(i)).name), PrincipalColour(i), true});
    const char* components[] = {"L (x, East)", "M (y, North)", "N (z, up)"};
    for (int component = 0; component < 3; ++component) {
      std::vector<Cell> cells = {{Utf8(components[component]), Qt::black, false, kSmallPoints}};
      for (int i = 0; i < 3; ++i)
        cells.push_back({Shown(text::CosineField(i, component)), PrincipalColour(i)});
      rows.push_back(cells);
    }
    y = sheet_.Table(x, y, cosines, rows);
    if (!JointActive())
      return y;

    y = sheet_.Heading(x, y + 8.0, columnWidth_, QStringLiteral("Stresses on the joint"));
    const std::vector<Column> joint = {{kNameWidth, Qt::AlignLeft},
                                       {kValueWidth, Qt::AlignRight},
                                       {columnWidth_ - kNameWidth - kValueWidth, Qt::AlignLeft}};
    const char* symbols[] = {"\u03c3", "\u03c4", "\u03c4lim"};
    const char* descriptions[] = {"normal stress", "shear stress", "limiting shear stress"};
    rows.clear();
    for (int i = 0; i < 3; ++i)
      rows.push_back(
          {{Utf8(symbols[i]), Qt::black, true},
           {Shown(kJointResults[i])},
           {QStringLiteral("   ") + Utf8(descriptions[i]), kNoteGrey, false, kSmallPoints}});
    return sheet_.Table(x, y, joint, rows);
  }

  double Figures(double y) {
    const double mohrX = columnWidth_ + kColumnGap;
    sheet_.Heading(0.0, y, kNetSize, QStringLiteral("Equal-area net, lower hemisphere"));
    sheet_.Heading(mohrX, y, columnWidth_, QStringLiteral("Mohr diagram"));
    y += 20.0;

    QPainter& painter = sheet_.Painter();
    const figures::PlaneDots dots{&content_.planePoles, &content_.planeResults,
                                  &content_.planeColours};
    const QRectF netBox = sheet_.Box(0.0, y, kNetSize, kNetSize);
    const figures::TendencyMap map =
        figures::NetMapFor(painter, netBox, content_.results, content_.map, content_.separators);
    figures::PaintNet(painter, netBox, content_.results, content_.separators, &dots, &map);
    double netBottom = y + kNetSize;
    if (!map.Empty()) {
      const QRectF legend = sheet_.Box(0.0, netBottom + 4.0, kNetSize, 24.0);
      figures::PaintMapLegend(painter, legend, map);
      netBottom += 28.0;
    }
    figures::PaintMohr(painter, sheet_.Box(mohrX, y, columnWidth_, kMohrHeight), content_.results,
                       content_.separators, content_.unit, &dots);
    const double noteY = sheet_.Note(
        mohrX, y + kMohrHeight + 6.0, columnWidth_,
        Utf8("Mohr circles of the principal stresses, compression positive; the admissible "
             "states shaded.") +
            (content_.results.jointStresses.has_value()
                 ? Utf8(" The joint's point and its Mohr-Coulomb limit line (dashed).")
                 : QString()) +
            (content_.results.porePressure != 0.0
                 ? Utf8(" Drawn at effective stress, less Pp = ") +
                       text::InputText(content_.results.porePressure, content_.separators) +
                       Utf8("; the total-stress circles grey and dashed.")
                 : QString()));
    return std::max(netBottom, noteY);
  }

  void Derived(double y) {
    y = sheet_.Heading(0.0, y, width_, QStringLiteral("Derived quantities"));
    constexpr double kDerivedNameWidth = 170.0;
    const double value = columnWidth_ - kDerivedNameWidth;
    const std::vector<Column> columns = {{kDerivedNameWidth, Qt::AlignLeft},
                                         {value, Qt::AlignRight},
                                         {kColumnGap, Qt::AlignLeft},
                                         {kDerivedNameWidth, Qt::AlignLeft},
                                         {value, Qt::AlignRight}};
    const qsizetype half = (derived_.size() + 1) / 2;
    std::vector<std::vector<Cell>> rows;
    for (qsizetype i = 0; i < half; ++i) {
      std::vector<Cell> row = {{derived_[i].name}, {derived_[i].value}, {}};
      if (i + half < derived_.size()) {
        row.push_back({derived_[i + half].name});
        row.push_back({derived_[i + half].value});
      }
      rows.push_back(row);
    }
    sheet_.Table(0.0, y, columns, rows, kSmallRowHeight);
  }

  /// The second page: the plane set's summary, how its dots are coloured, and
  /// the planes nearest to slipping.
  void Planes() {
    double y = sheet_.Heading(0.0, 0.0, width_, QStringLiteral("Planes"));
    QString note = content_.planeSummary + QStringLiteral(".");
    if (content_.colouring != figures::DotQuantity::kNone && !content_.planeResults.empty()) {
      const int decimals = content_.colouring == figures::DotQuantity::kPorePressureToSlip
                               ? text::kStressDecimals
                               : text::kRatioDecimals;
      note +=
          QStringLiteral(
              " On the net and the Mohr diagram each plane is a dot coloured by "
              "%1 from %2 (dark violet) to %3 (yellow); grey where it has no "
              "value.")
              .arg(figures::DotQuantityName(content_.colouring),
                   text::FormatNumber(content_.colourRange.low, decimals, content_.separators),
                   text::FormatNumber(content_.colourRange.high, decimals, content_.separators));
    }
    y = sheet_.Note(0.0, y, width_, note);
    if (content_.planeResults.empty())
      return;
    if (content_.colouring != figures::DotQuantity::kNone) {
      const int decimals = content_.colouring == figures::DotQuantity::kPorePressureToSlip
                               ? text::kStressDecimals
                               : text::kRatioDecimals;
      figures::PaintColourBar(
          sheet_.Painter(), sheet_.Box(kColourBarLeft, y + 4.0, kColourBarWidth, 9.0),
          content_.colouring,
          text::FormatNumber(content_.colourRange.low, decimals, content_.separators),
          text::FormatNumber(content_.colourRange.high, decimals, content_.separators));
      y += 18.0;
    }
    y = sheet_.Heading(0.0, y + 8.0, width_,
                       QStringLiteral("The %1 planes nearest to slipping (smallest \u0394Pc first)")
                           .arg(std::min<std::size_t>(kPlaneRows, content_.planes.size())));
    const char* titles[] = {"ID",        "Dip dir.", "Dip", "σ′",   "τ",
                            "Ts/Ts,max", "F",        "ΔPc", "Rake", "State"};
    // Points per column; the id takes what is left.
    constexpr double kWidths[] = {46.0, 40.0, 48.0, 48.0, 62.0, 44.0, 52.0, 52.0, 52.0};
    double numbers = 0.0;
    for (const double w : kWidths)
      numbers += w;
    std::vector<Column> columns = {{width_ - numbers, Qt::AlignLeft}};
    for (const double w : kWidths)
      columns.push_back({w, Qt::AlignRight});
    std::vector<std::vector<Cell>> rows;
    std::vector<Cell> heading;
    for (const char* title : titles)
      heading.push_back({Utf8(title), Qt::black, true});
    rows.push_back(heading);
    const auto number = [this](double value, int decimals) -> Cell {
      if (std::isnan(value))
        return {text::NoValueText()};
      if (std::isinf(value))
        return {value > 0 ? QStringLiteral("∞") : QStringLiteral("-∞")};
      return {text::FormatNumber(value, decimals, content_.separators)};
    };
    for (const std::size_t i : PlanesNearestToSlipping(content_.planeResults, kPlaneRows)) {
      const engine::Plane& p = content_.planes.planes[i];
      const engine::PlaneResult& r = content_.planeResults[i];
      rows.push_back({{QString::fromUtf8(content_.planes.ids[i])},
                      number(p.dipDirection, text::kAngleDecimals),
                      number(p.dip, text::kAngleDecimals),
                      number(r.sigmaEff, text::kStressDecimals),
                      number(r.tau, text::kStressDecimals),
                      number(r.tsNormalized, text::kRatioDecimals),
                      number(r.factorOfSafety, text::kRatioDecimals),
                      number(r.deltaPc, text::kStressDecimals),
                      number(r.rake, text::kAngleDecimals),
                      {QString::fromUtf8(tables::StateName(r.state).data())}});
    }
    y = sheet_.Table(0.0, y, columns, rows);
    if (content_.oddsCurves.empty())
      return;
    y = sheet_.Heading(0.0, y + 10.0, width_, QStringLiteral("Slip probability"));
    y = sheet_.Note(0.0, y, width_, content_.oddsNote);
    figures::PaintOddsCurves(sheet_.Painter(), sheet_.Box(0.0, y + 4.0, width_, kOddsHeight),
                             content_.oddsCurves, content_.unit, content_.separators);
  }

 public:
  void PaintPlanesPage() {
    Planes();
    Footer();
  }

 private:
  void Footer() {
    sheet_.Rule(0.0, height_ - 12.0, width_);
    sheet_.Text(0.0, height_ - 10.0, width_, 10.0, Qt::AlignLeft | Qt::AlignBottom,
                content_.program, Sheet::Font(kFooterPoints), kNoteGrey);
  }

  Sheet sheet_;
  const ReportContent& content_;
  QList<text::ResultRow> derived_;
  double width_ = 0.0;
  double height_ = 0.0;
  double columnWidth_ = 0.0;
};

}  // namespace

std::vector<std::size_t> PlanesNearestToSlipping(const std::vector<engine::PlaneResult>& results,
                                                 std::size_t count) {
  std::vector<std::size_t> order(results.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // A value before none; then the smaller dPc, or the larger Ts/Ts,max.
  const auto by = [](double x, double y, bool smaller) {
    if (std::isnan(x) || std::isnan(y))
      return !std::isnan(x) && std::isnan(y) ? -1 : (std::isnan(x) && !std::isnan(y) ? 1 : 0);
    if (x == y)
      return 0;
    return (smaller ? x < y : x > y) ? -1 : 1;
  };
  const auto before = [&](std::size_t a, std::size_t b) {
    const int pressure = by(results[a].deltaPc, results[b].deltaPc, true);
    if (pressure != 0)
      return pressure < 0;
    return by(results[a].tsNormalized, results[b].tsNormalized, false) < 0;
  };
  const std::size_t kept = std::min(count, order.size());
  std::partial_sort(
      order.begin(), order.begin() + static_cast<std::ptrdiff_t>(kept), order.end(),
      [&](std::size_t a, std::size_t b) { return before(a, b) || (!before(b, a) && a < b); });
  order.resize(kept);
  return order;
}

void PaintReport(QPainter& painter, const ReportContent& content) {
  ReportPage(painter, content).Paint();
  if (content.planes.empty())
    return;
  if (auto* pages = dynamic_cast<QPagedPaintDevice*>(painter.device()); pages != nullptr) {
    pages->newPage();
    ReportPage(painter, content).PaintPlanesPage();
  }
}

}  // namespace ui
