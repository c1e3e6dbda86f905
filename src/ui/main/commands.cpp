// Handlers of the window's commands and toggles. Each runs its work through
// RunGuarded: a failing pass ends the handler there and shows the error box,
// and whatever the handler did before the pass stays done.

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFrame>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <array>
#include <utility>

#include "analysis/stress_builders.h"
#include "engine/shares.h"
#include "study/edits.h"
#include "ui/charts/net_chart.h"
#include "ui/common/about_box.h"
#include "ui/common/background_work.h"
#include "ui/common/error_guard.h"
#include "ui/common/window_placement.h"
#include "ui/main/main_window.h"
#include "ui/main/window_printer.h"
#include "ui/mohr/mohr_window.h"
#include "ui/planes/slip_probability_window.h"
#include "ui/planes/plane_files.h"
#include "ui/planes/plane_study.h"
#include "ui/planes/planes_window.h"
#include "ui/report/report_dialog.h"
#include "ui/report/report_file.h"
#include "ui/stress/uncertainty_dialog.h"

namespace ui {

// RunGuarded returns once the error box is closed, except for the first pass,
// whose box opens once the window stands on the screen; either way the box
// focused here has the window's focus when the error box is gone. (After a
// first pass Qt drops the selection: it activates the window while the error
// box holds the focus.)
void TFrmMorvane::RunPassCommand(const std::function<void()>& work) {
  unreadBox_ = nullptr;
  if (RunGuarded(this, work) || unreadBox_ == nullptr)
    return;
  unreadBox_->setFocus(Qt::OtherFocusReason);
  unreadBox_->selectAll();
}

// The window opens with azimuths clockwise from North: the same steps as
// choosing that Angles item. A failing first pass still shows the window.
void TFrmMorvane::FormShow() {
  mnuAngleRightClick();
}

void TFrmMorvane::Button1Click() {
  RunPassCommand([this] { Recalculate(); });
}

// Choosing the item that is already checked recalculates all the same.
void TFrmMorvane::mnuAngleLeftClick() {
  RunPassCommand([this] {
    azimuth_ = stress::Azimuth::kCounterClockwiseFromEast;
    mnuAngleLeft_->setChecked(true);
    Recalculate();
  });
}

void TFrmMorvane::mnuAngleRightClick() {
  RunPassCommand([this] {
    azimuth_ = stress::Azimuth::kClockwiseFromNorth;
    mnuAngleRight_->setChecked(true);
    Recalculate();
  });
}

// The joint group, the results panel and the seven joint boxes follow the
// check box, in this order; the pass then draws or removes the joint plane.
// Unchecking leaves the last joint results in their greyed boxes.
void TFrmMorvane::chkJointClick() {
  RunPassCommand([this] {
    using text::Field;
    const std::array<QWidget*, 9> controls = {groupBox5_,
                                              panel1_,
                                              Box(Field::kJointDipDirection),
                                              Box(Field::kJointDip),
                                              Box(Field::kJointFriction),
                                              Box(Field::kJointCohesion),
                                              Box(Field::kSigma),
                                              Box(Field::kTau),
                                              Box(Field::kTauLim)};
    for (QWidget* control : controls)
      control->setEnabled(chkJoint_->isChecked());
    Recalculate();
  });
}

// Every pass writes the cosine boxes, so the panel shows the last results at
// once; nothing is recalculated here.
void TFrmMorvane::chkDirectiveCosinesClick() {
  RunGuarded(this, [this] { pnlDC_->setVisible(chkDirectiveCosines_->isChecked()); });
}

void TFrmMorvane::mnuPrintClick() {
  RunGuarded(this, [this] { PrintClientArea(clientArea_); });
}

// The report shows the pass run here, as "Calculate" would run it: when that
// pass fails, its error is shown and nothing is asked or written.
void TFrmMorvane::mnuSaveReportClick() {
  RunGuarded(this, [this] {
    Recalculate();
    ReportContent content;
    content.results = results_;
    content.separators = separators_;
    content.unit = stressUnit_;
    content.map = {study_->Now().map, planes_->Defaults(), stressUnit_};
    if (!planes_->Set().empty()) {
      content.planes = planes_->Set();
      content.planeDefaults = planes_->Defaults();
      content.planeResults = planes_->Results();
      content.planePoles = planes_->Poles();
      content.planeColours = planes_->Colours();
      content.colouring = planes_->Colouring();
      content.colourRange = planes_->ColourRange();
      content.planeSummary = PlaneSummary(*planes_, separators_);
      if (const auto sampler = planes_->Sampler()) {
        // The curves on show, else those of the planes most likely to slip.
        content.oddsCurves =
            oddsWindow_ != nullptr && oddsWindow_->isVisible() && !oddsWindow_->Curves().empty()
                ? oddsWindow_->Curves()
                : OddsCurves(*planes_, PlanesMostLikelyToSlip(*planes_, 5));
        content.oddsNote =
            QStringLiteral(
                "The probability that a plane slips when the pore pressure rises by x: "
                "the share of %1 realizations (seed %2) in which its \u0394Pc \u2264 x.")
                .arg(text::FormatNumber(sampler->Realizations(), 0, separators_),
                     QString::number(planes_->Uncertainty()->seed));
      }
    }
    content.program = QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion();
    const QString path = AskReportPath(this);
    if (path.isEmpty())
      return;
    content.locale = QLocale();
    content.written = QDateTime::currentDateTime();
    SaveReport(path, content);
  });
}

// A built state fills the six boxes with texts that read back exactly, and
// the pass runs on them as on typed ones.
void TFrmMorvane::ShowBuiltState(const stress::StressState& state) {
  using text::Field;
  const std::pair<Field, double> boxes[] = {{Field::kSx, state.sx},   {Field::kSy, state.sy},
                                            {Field::kSz, state.sz},   {Field::kTxy, state.txy},
                                            {Field::kTyz, state.tyz}, {Field::kTzx, state.tzx}};
  for (const auto& [field, value] : boxes)
    Box(field)->setText(text::ExactText(value, separators_));
  MarkModified();
  Recalculate();
}

// OK fills the stresses, the pore pressure and the unit from the depth
// profile; the dialog keeps what was typed for its next showing.
void TFrmMorvane::mnuStressFromDepthClick() {
  RunPassCommand([this] {
    DepthDialog dialog(depthTexts_, separators_, this);
    if (dialog.exec() != QDialog::Accepted)
      return;
    depthTexts_ = dialog.Texts();
    const analysis::DepthProfile profile = dialog.Profile();
    const analysis::DepthStresses s = analysis::StressesAtDepth(profile);
    porePressure_ = s.porePressure;
    porePressureText_ = text::ExactText(s.porePressure, separators_);
    mohr_->SetPorePressureText(porePressureText_);
    SetStressUnit(profile.units == analysis::UnitSystem::kMegapascalMetre ? QStringLiteral("MPa")
                                                                          : QStringLiteral("psi"));
    ShowBuiltState(analysis::HorizontalTensor(s.sv, s.shMax, s.shMin, profile.shMaxAzimuth));
  });
}

void TFrmMorvane::mnuStressFromPrincipalClick() {
  RunPassCommand([this] {
    PrincipalDialog dialog(principalTexts_, azimuth_, separators_, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.State().has_value())
      return;
    principalTexts_ = dialog.Texts();
    ShowBuiltState(*dialog.State());
  });
}

void TFrmMorvane::SetPorePressure(const QString& typed) {
  RunPassCommand([this, typed] {
    porePressure_ = text::ReadNumber(typed, separators_);
    porePressureText_ = typed;
    mohr_->SetPorePressureText(typed);
    MarkModified();
    Recalculate();
  });
}

void TFrmMorvane::SetStressUnit(const QString& unit) {
  if (unit != stressUnit_)
    MarkModified();
  stressUnit_ = unit;
  for (QAction* item : stressUnits_->actions())
    item->setChecked(item->data().toString() == unit);
  mohr_->SetStressUnit(unit);
  if (oddsWindow_ != nullptr)
    oddsWindow_->SetUnit(unit);
  if (study_->Now().map == engine::MapQuantity::kPorePressureToSlip)
    chart_->DrawMap();  // its legend names the unit
}

void TFrmMorvane::mnuAboutClick() {
  RunGuarded(this, [this] { ShowAboutBox(this); });
}

// Ends the message loop after the current event, once unsaved work may go.
void TFrmMorvane::mnuExitClick() {
  if (!MayDiscard())
    return;
  // Asked once: closing the window asks no more.
  modified_ = false;
  study_->MarkSaved();
  RunGuarded(this, [] { QApplication::quit(); });
}

}  // namespace ui

namespace ui {

void TFrmMorvane::mnuPlanesClick() {
  RunGuarded(this, [this] {
    if (!mnuPlanes_->isChecked()) {
      if (planesWindow_ != nullptr)
        planesWindow_->hide();
      return;
    }
    if (planesWindow_ == nullptr) {
      planesWindow_ = new PlanesWindow(*planes_, this);
      planesWindow_->SetSeparators(separators_);
      connect(planesWindow_, &PlanesWindow::VisibilityChanged, mnuPlanes_, &QAction::setChecked);
      connect(planesWindow_, &PlanesWindow::ImportRequested, this,
              &TFrmMorvane::mnuImportPlanesClick);
      connect(planesWindow_, &PlanesWindow::ExportRequested, this,
              &TFrmMorvane::mnuExportPlanesClick);
      LinkOddsToSelection();
    }
    planesWindow_->Present();
  });
}

QWidget* TFrmMorvane::PlaneDialogsParent() {
  if (planesWindow_ != nullptr && planesWindow_->isVisible())
    return planesWindow_;
  return this;
}

void TFrmMorvane::mnuImportPlanesClick() {
  QWidget* over = PlaneDialogsParent();
  RunGuarded(over, [this, over] {
    ImportPlanes(over, *planes_);
    // The table shows what was imported.
    if (!planes_->Set().empty() && !mnuPlanes_->isChecked())
      mnuPlanes_->trigger();
  });
}

void TFrmMorvane::mnuExportPlanesClick() {
  QWidget* over = PlaneDialogsParent();
  RunGuarded(over, [this, over] {
    if (planes_->Set().empty())
      throw std::runtime_error("There are no planes to export; import or type some first.");
    ExportPlaneResults(over, *planes_);
  });
}

// The figure shows the pass run here, as the report does; the dialogs ask
// nothing when that pass fails.
void TFrmMorvane::mnuExportFigureClick() {
  RunGuarded(this, [this] {
    Recalculate();
    FigureDialog dialog(figureChoice_, this);
    if (dialog.exec() != QDialog::Accepted)
      return;
    figureChoice_ = dialog.Choice();
    const QString path = AskFigurePath(this, figureChoice_);
    if (path.isEmpty())
      return;
    figures::FigureRequest request;
    request.kind = figureChoice_.kind;
    request.results = results_;
    request.separators = separators_;
    request.unit = stressUnit_;
    request.map = {study_->Now().map, planes_->Defaults(), stressUnit_};
    const figures::PlaneDots dots{&planes_->Poles(), &planes_->Results(), &planes_->Colours()};
    if (!dots.Empty())
      request.dots = &dots;
    request.widthMm = figureChoice_.widthMm;
    request.heightMm = figureChoice_.heightMm;
    request.dpi = figureChoice_.dpi;
    figures::WriteFigure(path, request);
  });
}

// The settings are kept by the study, which works the odds out again after
// every pass and edit from then on.
void TFrmMorvane::mnuUncertaintyClick() {
  RunGuarded(this, [this] {
    UncertaintyDialog dialog(planes_->Uncertainty().value_or(engine::UncertaintySettings{}), this);
    if (dialog.exec() != QDialog::Accepted)
      return;
    planes_->SetUncertainty(dialog.Settings());
    if (planes_->Set().empty() && !chkJoint_->isChecked())
      throw std::runtime_error(
          "The uncertainty is kept; there is nothing to assess yet: import planes or activate the "
          "joint.");
  });
}

void TFrmMorvane::mnuSlipProbabilityClick() {
  RunGuarded(this, [this] {
    if (oddsWindow_ == nullptr) {
      oddsWindow_ = new SlipProbabilityWindow(*planes_, this);
      oddsWindow_->SetSeparators(separators_);
      oddsWindow_->SetUnit(stressUnit_);
      LinkOddsToSelection();
      oddsWindow_->adjustSize();
      PlaceBesideParent(*oddsWindow_);
    }
    oddsWindow_->show();
    oddsWindow_->raise();
    oddsWindow_->activateWindow();
  });
}

void TFrmMorvane::LinkOddsToSelection() {
  if (oddsWindow_ == nullptr || planesWindow_ == nullptr)
    return;
  connect(planesWindow_, &PlanesWindow::SelectionChanged, oddsWindow_,
          &SlipProbabilityWindow::SetPlanes, Qt::UniqueConnection);
  oddsWindow_->SetPlanes(planesWindow_->SelectedPlanes());
}

void TFrmMorvane::ShowOddsProgress(int permille) {
  if (permille < 0) {
    if (oddsProgress_ != nullptr)
      oddsProgress_->reset();
    return;
  }
  if (oddsProgress_ == nullptr) {
    oddsProgress_ = new QProgressDialog(QStringLiteral("Computing slip probabilities..."),
                                        QStringLiteral("Cancel"), 0, 1000, this);
    oddsProgress_->setObjectName(QStringLiteral("OddsProgress"));
    oddsProgress_->setWindowTitle(QStringLiteral("Slip probability"));
    oddsProgress_->setWindowModality(Qt::NonModal);
    oddsProgress_->setMinimumDuration(100);
    oddsProgress_->setAutoReset(false);
    connect(oddsProgress_, &QProgressDialog::canceled, planes_, &PlaneStudy::CancelOdds);
  }
  oddsProgress_->setValue(std::min(999, permille));
}

engine::PlaneDefaults TFrmMorvane::PlaneDefaultsFromBoxes() const {
  const auto read = [this](engine::Input input) -> std::optional<double> {
    try {
      return text::ReadNumber(Box(text::InputField(input))->text(), separators_);
    } catch (const std::exception&) {
      return std::nullopt;
    }
  };
  return {read(engine::Input::kJointFriction), read(engine::Input::kJointCohesion)};
}

std::function<figures::TendencyMap()> TFrmMorvane::MapJob(const engine::MapGrid& grid,
                                                          double ratio) const {
  if (study_->Now().map == engine::MapQuantity::kNone || !engine::CanAssessPlanes(results_))
    return {};
  // The defaults the planes were last assessed with: those of the last pass.
  figures::MapRequest request{study_->Now().map, planes_->Defaults(), stressUnit_};
  return [results = results_, request = std::move(request), grid, separators = separators_, ratio] {
    constexpr int kRowsPerTask = 32;
    return figures::MakeTendencyMap(results, request, grid, separators, ratio,
                                    [](int rows, const std::function<void(int, int)>& work) {
                                      engine::ForEachShare(
                                          static_cast<std::size_t>(rows), kRowsPerTask, 0,
                                          [&work](std::size_t first, std::size_t last) {
                                            work(static_cast<int>(first), static_cast<int>(last));
                                          });
                                    });
  };
}

void TFrmMorvane::SetMapQuantity(engine::MapQuantity quantity) {
  RunGuarded(this, [this, quantity] {
    if (quantity != study_->Now().map)
      study_->Do(study::SetMap(quantity));  // the study's observer draws it
    else
      ShowMapQuantity();
  });
}

void TFrmMorvane::ShowMapQuantity() {
  const engine::MapQuantity quantity = study_->Now().map;
  for (QAction* item : mapQuantities_->actions())
    item->setChecked(item->data().toInt() == static_cast<int>(quantity));
  chart_->DrawMap();
}

void TFrmMorvane::ShowPlaneDots() {
  if (planes_->Results().empty()) {
    chart_->SetDots(nullptr, nullptr);
    mohr_->SetPlaneDots(nullptr, nullptr);
  } else {
    chart_->SetDots(&planes_->Poles(), &planes_->Colours());
    mohr_->SetPlaneDots(&planes_->Results(), &planes_->Colours());
  }
}

}  // namespace ui
