#include "ui/planes/plane_files.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <optional>
#include <stdexcept>

#include "tables/plane_csv.h"
#include "ui/common/background_work.h"
#include "ui/common/file_places.h"
#include "ui/planes/import_dialog.h"
#include "ui/planes/plane_study.h"

namespace ui {
namespace {

const QString kPlanesKind = QStringLiteral("planes");
/// Bytes of a file the preview reads.
constexpr qint64 kPreviewBytes = 64 * 1024;
/// Rows listed in the message after an import; the rest are counted.
constexpr std::size_t kListedMessages = 200;

std::runtime_error ReadFailure(const QString& path, const QString& reason) {
  return std::runtime_error(QStringLiteral("Could not read %1: %2")
                                .arg(QDir::toNativeSeparators(path), reason)
                                .toStdString());
}

QString AskForFile(QWidget* parent, const QString& title, bool save) {
  QFileDialog dialog(parent, title);
  dialog.setObjectName(save ? QStringLiteral("ExportPlanesDialog")
                            : QStringLiteral("ImportPlanesFileDialog"));
  dialog.setDirectory(LastFolder(kPlanesKind));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(
      {QStringLiteral("Text tables (*.csv *.txt *.tsv *.dat)"), QStringLiteral("All files (*)")});
  if (save)
    dialog.setDefaultSuffix(QStringLiteral("csv"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  RememberFolder(kPlanesKind, dialog.selectedFiles().front());
  return dialog.selectedFiles().front();
}

}  // namespace

QString ImportSummary(std::size_t imported, std::size_t skipped) {
  return QStringLiteral("%1 %2 imported, %3 %4 skipped.")
      .arg(imported)
      .arg(imported == 1 ? QStringLiteral("plane") : QStringLiteral("planes"))
      .arg(skipped)
      .arg(skipped == 1 ? QStringLiteral("row") : QStringLiteral("rows"));
}

std::optional<tables::PlaneImport> ReadPlaneFile(QWidget* parent, const QString& path,
                                                 const tables::PlaneReading& reading,
                                                 const PlaneStudy::Work* work,
                                                 std::optional<PlaneStudy::Prepared>* prepared) {
  tables::PlaneImport result;
  const bool finished = RunInBackground(
      parent, QStringLiteral("Importing %1...").arg(QFileInfo(path).fileName()),
      [&](JobControl& task) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
          throw ReadFailure(path, file.errorString());
        // Read in pieces, so that Cancel is heard during a slow read too.
        const qint64 size = std::max<qint64>(1, file.size());
        QByteArray bytes;
        bytes.reserve(file.size());
        while (!file.atEnd()) {
          const QByteArray piece = file.read(1 << 22);
          if (piece.isEmpty() && file.error() != QFileDevice::NoError)
            throw ReadFailure(path, file.errorString());
          bytes += piece;
          task.SetProgress(0.2 * static_cast<double>(bytes.size()) / static_cast<double>(size));
          if (task.Cancelled())
            return;
        }
        const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        result = tables::ReadPlanes(text, reading, [&](std::size_t done) {
          task.SetProgress(0.2 + 0.6 * static_cast<double>(done) / static_cast<double>(size));
          return !task.Cancelled();
        });
        // The poles and results too, so that the window takes the set at once.
        if (work != nullptr && prepared != nullptr && !result.cancelled && !task.Cancelled()) {
          task.SetProgress(0.8);
          *prepared = PlaneStudy::Prepare(result.set, *work, task.KeepGoing());
        }
      });
  if (!finished || result.cancelled)
    return std::nullopt;
  return result;
}

void ImportPlanes(QWidget* parent, PlaneStudy& study) {
  const QString path = AskForFile(parent, QStringLiteral("Import planes"), false);
  if (!path.isEmpty())
    ImportPlanesFrom(parent, study, path);
}

void ImportPlanesFrom(QWidget* parent, PlaneStudy& study, const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw ReadFailure(path, file.errorString());
  const QByteArray head = file.read(kPreviewBytes);
  file.close();

  ImportDialog preview(head.toStdString(), QFileInfo(path).fileName(), parent);
  if (preview.exec() != QDialog::Accepted)
    return;

  bool append = false;
  if (!study.Set().empty()) {
    QMessageBox ask(QMessageBox::Question, QStringLiteral("Import planes"),
                    QStringLiteral("The table holds %1 planes. Replace them with the file's "
                                   "planes, or append the file's planes to them?")
                        .arg(study.Set().size()),
                    QMessageBox::Cancel, parent);
    ask.setObjectName(QStringLiteral("ReplaceOrAppend"));
    QPushButton* replace = ask.addButton(QStringLiteral("&Replace"), QMessageBox::AcceptRole);
    QPushButton* appendButton = ask.addButton(QStringLiteral("&Append"), QMessageBox::AcceptRole);
    ask.setDefaultButton(appendButton);
    ask.exec();
    if (ask.clickedButton() != replace && ask.clickedButton() != appendButton)
      return;
    append = ask.clickedButton() == appendButton;
  }

  const PlaneStudy::Work work = study.WorkNow();
  std::optional<PlaneStudy::Prepared> prepared;
  std::optional<tables::PlaneImport> read =
      ReadPlaneFile(parent, path, preview.Reading(), &work, &prepared);
  if (!read)
    return;  // cancelled: the set is untouched
  const std::size_t imported = read->set.size();
  // A pass that ran meanwhile makes the prepared results stale: the study
  // then assesses the planes again itself.
  if (append)
    study.Append(read->set, QStringLiteral("Import"), std::move(prepared), preview.Reading());
  else
    study.Replace(std::move(read->set), QStringLiteral("Import"), std::move(prepared),
                  preview.Reading());

  const QString summary = ImportSummary(imported, read->skipped);
  QMessageBox done(read->messages.empty() ? QMessageBox::Information : QMessageBox::Warning,
                   QStringLiteral("Import planes"), summary, QMessageBox::Ok, parent);
  done.setObjectName(QStringLiteral("ImportSummary"));
  if (!read->messages.empty()) {
    QString details;
    const std::size_t listed = std::min(read->messages.size(), kListedMessages);
    for (std::size_t i = 0; i < listed; ++i)
      details += QString::fromStdString(read->messages[i]) + QLatin1Char('\n');
    if (listed < read->messages.size())
      details += QStringLiteral("and %1 more\n").arg(read->messages.size() - listed);
    done.setInformativeText(QStringLiteral("Some rows were skipped or changed; see the details."));
    done.setDetailedText(details);
  }
  done.exec();
}

QByteArray PlaneResultsCsv(const PlaneStudy& study) {
  const engine::PlaneSet& set = study.Set();
  const std::vector<engine::PlaneResult>& results = study.Results();
  // The odds' columns when they are shown, as kelvane-cli planes writes them.
  const bool odds = !study.Odds().empty() && study.Odds().size() == set.size();
  std::string out(tables::PlaneCsvHeader());
  if (odds)
    (out += ',') += tables::OddsCsvHeader();
  out += '\n';
  const engine::PlaneResult none{NAN, NAN, NAN, NAN, NAN, NAN, NAN,
                                 NAN, NAN, NAN, NAN, NAN, NAN, engine::PlaneState::kNone};
  for (std::size_t i = 0; i < set.size(); ++i) {
    tables::AppendPlaneCsvRow(out, set.ids[i], set.planes[i], study.Defaults(),
                              results.empty() ? none : results[i]);
    if (odds)
      tables::AppendOddsCsvFields(out, study.Odds()[i]);
    out += '\n';
  }
  return QByteArray(out.data(), static_cast<qsizetype>(out.size()));
}

void ExportPlaneResults(QWidget* parent, const PlaneStudy& study) {
  const QString path = AskForFile(parent, QStringLiteral("Export plane results"), true);
  if (path.isEmpty())
    return;
  // On the GUI thread: the set must not change while it is written (a
  // million planes take about a second).
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const QByteArray csv = PlaneResultsCsv(study);
  QGuiApplication::restoreOverrideCursor();
  SaveBytes(path, csv, QStringLiteral("plane results"));
}

}  // namespace ui
