#pragma once
// Where the report goes: Qt's own file dialog, the same on every platform.

#include <QString>

class QWidget;

namespace ui {

/// The name the dialog proposes.
inline constexpr char kReportFileName[] = "kelvane-report.pdf";

/// The folder the dialog opens in: the one the last report went to (kept
/// across runs), else the user's documents folder, else the home folder.
QString ReportFolder();

/// Asks for the report's file: a modal save dialog titled "Save report as PDF"
/// (objectName "ReportFileDialog") that proposes kReportFileName in
/// ReportFolder(), filters "PDF files (*.pdf)", asks before replacing a file
/// and adds ".pdf" to a name without an extension. Returns the chosen path,
/// or an empty string when the user cancels.
QString AskReportPath(QWidget* parent);

}  // namespace ui
