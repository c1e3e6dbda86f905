#pragma once
// The main window, TFrmMorvane: the inputs, the results, the net and the
// commands. It holds the case that the other windows show, and opens and owns
// them (the Mohr window, the Planes window, Slip probability) and the dialogs.
// Frame x East, y North, z up; stresses as typed (compression positive);
// azimuths and dips in degrees in the boxes, radians inside.
// Every handler runs its work through RunGuarded, which shows the error box.

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "engine/pass_results.h"
#include "engine/plane_results.h"
#include "engine/tendency_map.h"
#include "figures/tendency_map.h"
#include "files/case_file.h"
#include "projection/colour.h"
#include "projection/point_series.h"
#include "projection/trace_cache.h"
#include "stress/stress_state.h"
#include "study/history.h"
#include "text/number_text.h"
#include "text/shown_fields.h"
#include "ui/report/figure_dialog.h"
#include "ui/stress/depth_dialog.h"
#include "ui/stress/principal_dialog.h"

class QAction;
class QActionGroup;
class QProgressDialog;
class QMenu;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace ui {

class MohrWindowLink;
class NetChartView;
class PlaneStudy;
class PlanesWindow;
class SlipProbabilityWindow;

class TFrmMorvane : public QMainWindow {
  Q_OBJECT

 public:
  explicit TFrmMorvane(QWidget* parent = nullptr);
  ~TFrmMorvane() override;

  /// The azimuth convention of the principal axes.
  stress::Azimuth AngleMode() const { return azimuth_; }
  /// The stored unit axes of the last pass (columns of the direction cosines).
  const stress::PrincipalAxes& DirectionCosines() const { return directionCosines_; }
  const text::Separators& CurrentSeparators() const { return separators_; }
  /// What the last pass read and computed, as far as it got.
  const engine::PassResults& Results() const { return results_; }
  /// Reads the separators of the current default QLocale again.
  void ReadSeparators();

  /// The recalculation pass: reads the input boxes, runs the engine, then
  /// draws the net and writes the result boxes from what the engine filled.
  /// Throws the error that stopped the engine, after showing what it filled.
  void Recalculate();
  void DrawNet();
  void WriteResults();
  void PlotPlane(projection::PointSeries& series, projection::Colour colour, double dipDirection,
                 double dip, std::string_view label);

  // Handlers; each runs through the error guard.
  void FormShow();
  void Button1Click();
  void mnuAngleLeftClick();
  void mnuAngleRightClick();
  void chkJointClick();
  void chkDirectiveCosinesClick();
  void mnuPrintClick();
  void mnuSaveReportClick();
  void mnuAboutClick();
  void mnuStressFromDepthClick();
  void mnuStressFromPrincipalClick();
  /// Takes the text of the pore-pressure box (ReadNumber; errors propagate
  /// to the guard) and recalculates.
  void SetPorePressure(const QString& text);
  /// The pore pressure of the next pass, and its text as typed.
  double PorePressure() const { return porePressure_; }
  const QString& PorePressureText() const { return porePressureText_; }
  /// The stress unit's name ("MPa", "psi"; empty for none). It labels
  /// numbers and never scales them.
  const QString& StressUnit() const { return stressUnit_; }
  void SetStressUnit(const QString& unit);
  void mnuExitClick();
  /// View > Planes: shows or hides the Planes window.
  void mnuPlanesClick();
  void mnuImportPlanesClick();
  void mnuExportPlanesClick();
  void mnuExportFigureClick();
  void mnuUncertaintyClick();
  void mnuNewClick();
  void mnuOpenClick();
  void mnuSaveClick();
  void mnuSaveAsClick();
  /// Opens the case at `path` (asking nothing): on any failure its error box
  /// and the window as it was.
  void OpenCase(const QString& path);
  /// The case as the window holds it now.
  files::Case CaseNow() const;
  /// The named case's file; empty for a new one.
  const QString& CasePath() const { return casePath_; }
  /// Whether the case has unsaved changes: the study's edits since it was
  /// saved or opened, or the window's own settings changed since.
  bool Modified() const { return modified_ || study_->Modified(); }
  /// The study the window shows: everything a case holds.
  const study::StudyModel& Study() const { return *study_; }
  void mnuSlipProbabilityClick();
  /// The plane set and its results under the last pass.
  PlaneStudy& Planes() const { return *planes_; }
  /// The Planes window; nullptr until first shown.
  PlanesWindow* PlanesView() const { return planesWindow_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void BuildLayout();
  void BuildMenu();
  void ConnectCommands();
  void SetTabOrder();
  void FitFont();
  void PlaceOnScreen();
  /// The control of the layout named `name`, from the table filled as the
  /// controls are created (no search); a missing one is a programming error
  /// and aborts.
  QWidget* Control(const char* name) const;
  /// The edit box named `name`, as Control does.
  QLineEdit* Box(const char* name) const;
  QLineEdit* Box(text::Field field) const;
  /// Writes `value` into the box of `field` with the field's decimals.
  void WriteBox(text::Field field, double value);
  /// Runs a command's work, which ends in a pass, through RunGuarded. When the
  /// pass stopped at a box whose text is no number, that box has the focus,
  /// its whole text selected, once the error box is closed (the first pass's
  /// box opens later; its selection does not outlast that); after any other
  /// error the focus stays where it was.
  void RunPassCommand(const std::function<void()>& work);
  /// Writes a built state into the six stress boxes (texts that read back
  /// exactly), then runs the pass.
  void ShowBuiltState(const stress::StressState& state);
  /// Planes without their own friction angle or cohesion take the joint's
  /// boxes' (whether or not the joint is active); empty where a box holds
  /// no number.
  engine::PlaneDefaults PlaneDefaultsFromBoxes() const;
  /// The window the plane commands' dialogs open over: the Planes window
  /// when it is shown, else this one.
  QWidget* PlaneDialogsParent();
  /// The net's and the Mohr diagram's plane dots, after the set or its
  /// results changed.
  void ShowPlaneDots();
  /// The Monte Carlo run's progress: a dialog that leaves the window free,
  /// with Cancel; `permille` 0 when a run starts, -1 when it ends.
  void ShowOddsProgress(int permille);
  /// The Slip probability window follows the Planes window's selection.
  void LinkOddsToSelection();
  /// Shows `c` in the window (boxes, settings, planes) and runs the pass.
  void ApplyCase(const files::Case& c);
  /// The case now has the file `path` (empty: none): the caption names it,
  /// it is unchanged, and it heads the recent cases.
  void SetCasePath(const QString& path);
  void SetModified(bool modified);
  /// The caption's unsaved marker, as Modified() says.
  void ShowModified();
  /// Something the case holds changed (not while a case is being shown).
  void MarkModified();
  /// Whether unsaved work may go: true when there is none worth asking
  /// about, or the user saved it or chose Discard; false for Cancel.
  bool MayDiscard();
  /// Saves the case, asking where when `askPath` or it has no file; whether
  /// it was saved.
  bool SaveCase(bool askPath);
  void ShowRecentCases();
  /// The making of the tendency map of the last pass over `grid`, as View >
  /// Tendency map asks (with copies of what it reads); empty for none.
  std::function<figures::TendencyMap()> MapJob(const engine::MapGrid& grid, double ratio) const;
  void SetMapQuantity(engine::MapQuantity quantity);

  stress::Azimuth azimuth_ = stress::Azimuth::kCounterClockwiseFromEast;
  bool shown_ = false;
  QLineEdit* unreadBox_ = nullptr;  ///< the box whose text stopped the pass
  text::Separators separators_;
  stress::PrincipalAxes directionCosines_{};
  projection::TraceCache traces_;  // the net's curves as last drawn
  engine::PassResults results_;
  double porePressure_ = 0.0;
  QString porePressureText_ = QStringLiteral("0");
  QString stressUnit_;
  DepthTexts depthTexts_;
  PrincipalTexts principalTexts_;

  /// Every control of the layout by its objectName (names of static storage).
  std::unordered_map<std::string_view, QWidget*> controls_;
  QWidget* clientArea_ = nullptr;
  NetChartView* chart_ = nullptr;
  QWidget* pnlDC_ = nullptr;
  QCheckBox* chkJoint_ = nullptr;
  QCheckBox* chkDirectiveCosines_ = nullptr;
  QPushButton* button1_ = nullptr;
  QGroupBox* groupBox5_ = nullptr;
  QFrame* panel1_ = nullptr;

  QAction* mnuPrint_ = nullptr;
  QAction* mnuSaveReport_ = nullptr;
  QAction* mnuExit_ = nullptr;
  QAction* mnuAngleLeft_ = nullptr;
  QAction* mnuAngleRight_ = nullptr;
  QAction* mnuAbout_ = nullptr;
  QAction* mnuMohr_ = nullptr;
  QAction* mnuStressFromDepth_ = nullptr;
  QAction* mnuStressFromPrincipal_ = nullptr;
  QActionGroup* stressUnits_ = nullptr;
  MohrWindowLink* mohr_ = nullptr;
  QAction* mnuPlanes_ = nullptr;
  QAction* mnuImportPlanes_ = nullptr;
  QAction* mnuExportPlanes_ = nullptr;
  QAction* mnuExportFigure_ = nullptr;
  QAction* mnuNew_ = nullptr;
  QAction* mnuOpen_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QAction* mnuSave_ = nullptr;
  QAction* mnuSaveAs_ = nullptr;
  QString casePath_;
  bool modified_ = false;
  bool applyingCase_ = false;
  files::Case defaultCase_;  ///< the window as it starts, for New
  QAction* mnuUncertainty_ = nullptr;
  QAction* mnuSlipProbability_ = nullptr;
  SlipProbabilityWindow* oddsWindow_ = nullptr;
  QProgressDialog* oddsProgress_ = nullptr;
  FigureChoice figureChoice_;
  /// Shared with the plane view, a child that outlives this object's members.
  std::shared_ptr<study::StudyModel> study_ = std::make_shared<study::StudyModel>();
  int studyObserver_ = -1;
  PlaneStudy* planes_ = nullptr;
  PlanesWindow* planesWindow_ = nullptr;
  QActionGroup* mapQuantities_ = nullptr;
  engine::MapQuantity mapQuantity_ = engine::MapQuantity::kNone;
};

}  // namespace ui
