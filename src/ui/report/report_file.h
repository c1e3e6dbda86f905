#pragma once
// The report as a file: the page (ui/report/report_page.h) as a one-page PDF.

#include <QByteArray>
#include <QString>

#include "ui/report/report_page.h"

namespace ui {

/// The report as the bytes of a one-page PDF; empty when no PDF could be drawn.
QByteArray ReportPdf(const ReportContent& content);

/// Writes the report to `path` as a one-page PDF. Atomic: the file is written
/// beside its destination and takes its place only when complete, so on any
/// failure an existing file keeps its bytes and no partial file remains.
/// Throws std::runtime_error("Could not save the report to <path>: <reason>")
/// (UTF-8, the path in the platform's notation) when it cannot be written.
void SaveReport(const QString& path, const ReportContent& content);

}  // namespace ui
