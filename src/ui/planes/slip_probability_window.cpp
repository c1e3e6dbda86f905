#include "ui/planes/slip_probability_window.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <functional>

#include "ui/common/error_guard.h"
#include "ui/planes/plane_study.h"
#include "ui/report/figure_dialog.h"

namespace ui {
namespace {

/// The drawing area: the window paints the curves onto it.
class Canvas : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void(QPainter&, const QRectF&)> paint;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (paint)
      paint(painter, QRectF(rect()).adjusted(6, 6, -6, -6));
  }
};

}  // namespace

// Each curve's realizations are drawn again from the run's seed: the run
// keeps no plane's values.
std::vector<figures::OddsCurve> OddsCurves(const PlaneStudy& study,
                                           const std::vector<std::size_t>& planes) {
  std::vector<figures::OddsCurve> curves;
  const auto sampler = study.Sampler();
  if (!sampler)
    return curves;
  std::vector<double> values;
  int k = 0;
  for (const std::size_t plane : planes) {
    if (plane >= study.Set().size())
      continue;
    sampler->PressuresToSlip(study.Set().planes[plane], plane, values);
    const std::string_view id = study.Set().ids[plane];
    const QString label = id.empty()
                              ? QStringLiteral("row %1").arg(plane + 1)
                              : QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size()));
    curves.push_back(figures::OddsCurveOf(label, figures::CurveColour(k++), values));
  }
  if (const auto joint = study.JointPlane(); joint && study.JointOdds()) {
    sampler->PressuresToSlip(*joint, PlaneStudy::kJointStream, values);
    curves.push_back(figures::OddsCurveOf(QStringLiteral("joint"), 0xFF000000u, values));
  }
  return curves;
}

std::vector<std::size_t> PlanesMostLikelyToSlip(const PlaneStudy& study, std::size_t count) {
  const std::vector<engine::SlipOdds>& odds = study.Odds();
  std::vector<std::size_t> order(odds.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  const auto above = [&odds](std::size_t a, std::size_t b) {
    const double x = std::isnan(odds[a].pSlip) ? -1.0 : odds[a].pSlip;
    const double y = std::isnan(odds[b].pSlip) ? -1.0 : odds[b].pSlip;
    return x > y || (x == y && a < b);
  };
  const std::size_t kept = std::min(count, order.size());
  std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(kept), order.end(),
                    above);
  order.resize(kept);
  return order;
}

SlipProbabilityWindow::SlipProbabilityWindow(PlaneStudy& study, QWidget* parent)
    : QWidget(parent, Qt::Window), study_(study) {
  setObjectName(QStringLiteral("SlipProbabilityWindow"));
  setWindowTitle(QStringLiteral("Slip probability"));
  auto* canvas = new Canvas(this);
  canvas->setObjectName(QStringLiteral("curves"));
  canvas->setMinimumSize(520, 340);
  canvas->paint = [this](QPainter& painter, const QRectF& box) {
    figures::PaintOddsCurves(painter, box, curves_, unit_, separators_);
  };
  canvas_ = canvas;
  auto* exportButton = new QPushButton(QStringLiteral("&Export figure..."), this);
  exportButton->setObjectName(QStringLiteral("exportFigure"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(exportButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(canvas, 1);
  layout->addLayout(buttons);
  connect(exportButton, &QPushButton::clicked, this,
          [this] { RunGuarded(this, [this] { ExportFigure(); }); });
  connect(&study_, &PlaneStudy::OddsChanged, this, &SlipProbabilityWindow::MakeCurves);
  connect(&study_, &PlaneStudy::SetChanged, this, [this] {
    planes_.clear();  // the rows moved: the table's selection says again
    MakeCurves();
  });
  MakeCurves();
}

void SlipProbabilityWindow::SetSeparators(const text::Separators& separators) {
  separators_ = separators;
  canvas_->update();
}

void SlipProbabilityWindow::SetUnit(const QString& unit) {
  unit_ = unit;
  canvas_->update();
}

void SlipProbabilityWindow::SetPlanes(const std::vector<std::size_t>& planes) {
  planes_.assign(planes.begin(), planes.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min(planes.size(), kMostPlanes)));
  MakeCurves();
}

void SlipProbabilityWindow::MakeCurves() {
  curves_ = OddsCurves(study_, planes_);
  canvas_->update();
}

void SlipProbabilityWindow::ExportFigure() {
  FigureChoice choice;
  choice.kind = figures::FigureKind::kSlipProbability;
  choice = UsualSize(choice);
  FigureDialog dialog(choice, this);
  if (dialog.exec() != QDialog::Accepted)
    return;
  choice = dialog.Choice();
  const QString path = AskFigurePath(this, choice);
  if (path.isEmpty())
    return;
  figures::FigureRequest request;
  request.kind = figures::FigureKind::kSlipProbability;
  request.separators = separators_;
  request.unit = unit_;
  request.curves = curves_;
  request.widthMm = choice.widthMm;
  request.heightMm = choice.heightMm;
  request.dpi = choice.dpi;
  figures::WriteFigure(path, request);
}

}  // namespace ui
