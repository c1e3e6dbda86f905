// The study as a file: New, Open, Open Recent, Save and Save As, the caption
// with the case's name and its unsaved marker, the question before unsaved
// work is thrown away, and cases opened from the command line or dropped on
// the window. The file itself is files/case_file.h's.

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QUrl>
#include <stdexcept>

#include "files/case_file.h"
#include "files/saved_file.h"
#include "ui/charts/net_chart.h"
#include "ui/common/background_work.h"
#include "ui/common/error_guard.h"
#include "ui/common/file_places.h"
#include "ui/main/main_window.h"
#include "ui/mohr/mohr_window.h"
#include "ui/planes/plane_study.h"

namespace ui {
namespace {

constexpr int kRecentCount = 8;
const QString kCaption = QStringLiteral("Morvane in 3D space");
const QString kFilter = QStringLiteral("Kelvane cases (*.kelvane)");

struct ColouringName {
  figures::DotQuantity quantity;
  const char* name;
};
constexpr ColouringName kColouringNames[] = {
    {figures::DotQuantity::kNormalizedSlipTendency, "ts_normalized"},
    {figures::DotQuantity::kDilationTendency, "td"},
    {figures::DotQuantity::kFactorOfSafety, "f"},
    {figures::DotQuantity::kPorePressureToSlip, "delta_pc"},
    {figures::DotQuantity::kSlipProbability, "p_slip"},
    {figures::DotQuantity::kNone, "none"}};

QStringList RecentCases() {
  return QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"))
      .value(QStringLiteral("recentCases"))
      .toStringList();
}

void SetRecentCases(const QStringList& paths) {
  QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"))
      .setValue(QStringLiteral("recentCases"), paths);
}

/// A builder's seven boxes in the study's UTF-8, and back.
std::array<std::string, 7> StdTexts(const std::array<QString, 7>& texts) {
  std::array<std::string, 7> out;
  for (std::size_t i = 0; i < texts.size(); ++i)
    out[i] = texts[i].toStdString();
  return out;
}
std::array<QString, 7> QTexts(const std::array<std::string, 7>& texts) {
  std::array<QString, 7> out;
  for (std::size_t i = 0; i < texts.size(); ++i)
    out[i] = QString::fromStdString(texts[i]);
  return out;
}

std::runtime_error ReadFailure(const QString& path, const QString& reason) {
  return std::runtime_error(QStringLiteral("Could not open %1: %2")
                                .arg(QDir::toNativeSeparators(path), reason)
                                .toStdString());
}

}  // namespace

files::Case TFrmMorvane::CaseNow() const {
  files::Case c;
  for (int i = 0; i < engine::kInputCount; ++i) {
    const QString typed = Box(text::InputField(static_cast<engine::Input>(i)))->text();
    c.texts[i] = typed.toStdString();
    try {
      c.values[i] = text::ReadNumber(typed, separators_);
    } catch (const std::exception&) {
      c.values[i] = std::nullopt;  // the text is kept as typed
    }
  }
  c.azimuth = azimuth_;
  c.jointActive = chkJoint_->isChecked();
  c.cosinesShown = chkDirectiveCosines_->isChecked();
  c.porePressure = porePressure_;
  c.porePressureText = porePressureText_.toStdString();
  c.stressUnit = stressUnit_.toStdString();
  c.depth = {depthTexts_.typed, StdTexts(depthTexts_.numbers)};
  c.depthInPsi = depthTexts_.units == analysis::UnitSystem::kPsiFoot;
  c.svFromDensity = depthTexts_.svFromDensity;
  c.principal = {principalTexts_.typed, StdTexts(principalTexts_.numbers)};
  c.planes = planes_->Set();
  c.importReading = planes_->ImportReading();
  c.uncertainty = planes_->Uncertainty();
  c.map = mapQuantity_;
  for (const ColouringName& n : kColouringNames)
    if (n.quantity == planes_->Colouring())
      c.dotColouring = n.name;
  return c;
}

void TFrmMorvane::ApplyCase(const files::Case& c) {
  for (int i = 0; i < engine::kInputCount; ++i) {
    QLineEdit* box = Box(text::InputField(static_cast<engine::Input>(i)));
    box->setText(QString::fromStdString(c.texts[i]));
    box->setCursorPosition(0);
  }
  if (chkJoint_->isChecked() != c.jointActive)
    chkJoint_->click();  // enables the joint's controls as a click does
  if (chkDirectiveCosines_->isChecked() != c.cosinesShown)
    chkDirectiveCosines_->click();
  porePressure_ = c.porePressure;
  porePressureText_ = QString::fromStdString(c.porePressureText);
  mohr_->SetPorePressureText(porePressureText_);
  SetStressUnit(QString::fromStdString(c.stressUnit));
  depthTexts_.typed = c.depth.typed;
  depthTexts_.numbers = QTexts(c.depth.numbers);
  depthTexts_.units =
      c.depthInPsi ? analysis::UnitSystem::kPsiFoot : analysis::UnitSystem::kMegapascalMetre;
  depthTexts_.svFromDensity = c.svFromDensity;
  principalTexts_.typed = c.principal.typed;
  principalTexts_.numbers = QTexts(c.principal.numbers);
  // The study takes the case whole; its list of edits starts afresh.
  study_->Reset(c);
  for (const ColouringName& n : kColouringNames)
    if (c.dotColouring == n.name)
      planes_->SetColouring(n.quantity);
  mapQuantity_ = c.map;
  for (QAction* item : mapQuantities_->actions())
    item->setChecked(item->data().toInt() == static_cast<int>(c.map));
  if (c.uncertainty)
    planes_->SetUncertainty(*c.uncertainty);
  else
    planes_->ClearUncertainty();
  // The convention's command runs the pass, as choosing it does.
  if (c.azimuth == stress::Azimuth::kClockwiseFromNorth)
    mnuAngleRightClick();
  else
    mnuAngleLeftClick();
}

void TFrmMorvane::SetCasePath(const QString& path) {
  casePath_ = path;
  setWindowTitle(path.isEmpty() ? kCaption
                                : kCaption + QStringLiteral(" \u2014 ") +
                                      QFileInfo(path).completeBaseName() + QStringLiteral("[*]"));
  study_->MarkSaved();
  SetModified(false);
  if (path.isEmpty())
    return;
  QStringList recent = RecentCases();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > kRecentCount)
    recent.removeLast();
  SetRecentCases(recent);
  ShowRecentCases();
}

void TFrmMorvane::SetModified(bool modified) {
  modified_ = modified;
  ShowModified();
}

void TFrmMorvane::ShowModified() {
  if (!casePath_.isEmpty())
    setWindowModified(Modified());
}

void TFrmMorvane::MarkModified() {
  if (!applyingCase_)
    SetModified(true);
}

bool TFrmMorvane::MayDiscard() {
  // Worth asking about: a named case, or a plane set.
  if (!Modified() || (casePath_.isEmpty() && planes_->Set().empty()))
    return true;
  const QString name =
      casePath_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(casePath_).completeBaseName();
  QMessageBox ask(QMessageBox::Question, QStringLiteral("Kelvane"),
                  QStringLiteral("Save changes to %1?").arg(name),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
  ask.setObjectName(QStringLiteral("SaveChangesQuestion"));
  ask.setDefaultButton(QMessageBox::Save);
  switch (ask.exec()) {
    case QMessageBox::Save:
      return SaveCase(false);
    case QMessageBox::Discard:
      return true;
    default:
      return false;
  }
}

bool TFrmMorvane::SaveCase(bool askPath) {
  bool saved = false;
  RunGuarded(this, [&] {
    QString path = casePath_;
    if (askPath || path.isEmpty()) {
      QFileDialog dialog(this, QStringLiteral("Save case as"));
      dialog.setObjectName(QStringLiteral("CaseFileDialog"));
      dialog.setOption(QFileDialog::DontUseNativeDialog);
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setNameFilter(kFilter);
      dialog.setDefaultSuffix(QStringLiteral("kelvane"));
      dialog.setDirectory(LastFolder(QStringLiteral("case")));
      dialog.selectFile(path.isEmpty() ? QStringLiteral("study.kelvane")
                                       : QFileInfo(path).fileName());
      if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
      path = dialog.selectedFiles().front();
      RememberFolder(QStringLiteral("case"), path);
    }
    files::SaveBytes(path, files::WriteCase(CaseNow()), QStringLiteral("case"));
    SetCasePath(path);
    saved = true;
  });
  return saved;
}

void TFrmMorvane::OpenCase(const QString& given) {
  // Kept absolute, so that the recent cases open from anywhere.
  const QString path = given.isEmpty() ? given : QFileInfo(given).absoluteFilePath();
  RunGuarded(this, [this, path] {
    if (!QFileInfo::exists(path)) {
      QStringList recent = RecentCases();
      if (recent.removeAll(path) > 0) {
        SetRecentCases(recent);
        ShowRecentCases();
        throw ReadFailure(
            path, QStringLiteral("the file no longer exists; it is removed from the recent cases"));
      }
    }
    QStringList unknown;
    std::optional<files::Case> opened;
    // A large case reads off the window's thread, with progress and Cancel.
    const bool finished =
        RunInBackground(this, QStringLiteral("Opening %1...").arg(QFileInfo(path).fileName()),
                        [&](JobControl& task) {
                          QFile file(path);
                          if (!file.open(QIODevice::ReadOnly))
                            throw ReadFailure(path, file.errorString());
                          const QByteArray bytes = file.readAll();
                          task.SetProgress(0.3);
                          if (task.Cancelled())
                            return;
                          try {
                            opened = files::ReadCase(bytes, &unknown);
                          } catch (const files::CaseError& e) {
                            throw ReadFailure(path, QString::fromUtf8(e.what()));
                          }
                        });
    if (!finished || !opened)
      return;  // cancelled: the window is as it was
    applyingCase_ = true;
    try {
      ApplyCase(*opened);
    } catch (...) {
      applyingCase_ = false;
      SetCasePath(path);
      throw;
    }
    applyingCase_ = false;
    SetCasePath(path);
    if (!unknown.isEmpty())
      throw std::runtime_error(
          QStringLiteral("%1 holds keys this version does not know; they were ignored: %2.")
              .arg(QFileInfo(path).fileName(), unknown.join(QStringLiteral(", ")))
              .toStdString());
  });
}

void TFrmMorvane::mnuNewClick() {
  if (!MayDiscard())
    return;
  applyingCase_ = true;
  RunGuarded(this, [this] { ApplyCase(defaultCase_); });
  applyingCase_ = false;
  SetCasePath({});
}

void TFrmMorvane::mnuOpenClick() {
  if (!MayDiscard())
    return;
  QFileDialog dialog(this, QStringLiteral("Open case"));
  dialog.setObjectName(QStringLiteral("CaseFileDialog"));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(kFilter);
  dialog.setDirectory(LastFolder(QStringLiteral("case")));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return;
  RememberFolder(QStringLiteral("case"), dialog.selectedFiles().front());
  OpenCase(dialog.selectedFiles().front());
}

void TFrmMorvane::mnuSaveClick() {
  SaveCase(false);
}

void TFrmMorvane::mnuSaveAsClick() {
  SaveCase(true);
}

void TFrmMorvane::ShowRecentCases() {
  recentMenu_->clear();
  const QStringList recent = RecentCases();
  for (int i = 0; i < recent.size(); ++i) {
    QAction* item = recentMenu_->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(recent[i])));
    connect(item, &QAction::triggered, this, [this, path = recent[i]] {
      if (MayDiscard())
        OpenCase(path);
    });
  }
  recentMenu_->setEnabled(!recent.isEmpty());
}

void TFrmMorvane::closeEvent(QCloseEvent* event) {
  if (MayDiscard())
    event->accept();
  else
    event->ignore();
}

void TFrmMorvane::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile() &&
      urls.front().toLocalFile().endsWith(QStringLiteral(".kelvane"), Qt::CaseInsensitive))
    event->acceptProposedAction();
}

void TFrmMorvane::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty())
    return;
  const QString path = urls.front().toLocalFile();
  event->acceptProposedAction();
  if (MayDiscard())
    OpenCase(path);
}

}  // namespace ui
