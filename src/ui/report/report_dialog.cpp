#include "ui/report/report_dialog.h"

#include "ui/common/file_places.h"

#include <QFileDialog>

namespace ui {

QString ReportFolder() {
  return LastFolder(QStringLiteral("report"));
}

QString AskReportPath(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Save report as PDF"));
  dialog.setObjectName(QStringLiteral("ReportFileDialog"));
  // Qt's own dialog behaves alike on every desktop, and tests can answer it.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("PDF files (*.pdf)"));
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setDirectory(ReportFolder());
  dialog.selectFile(QString::fromLatin1(kReportFileName));
  if (dialog.exec() != QDialog::Accepted)
    return {};
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty())
    return {};
  RememberFolder(QStringLiteral("report"), files.front());
  return files.front();
}

}  // namespace ui
