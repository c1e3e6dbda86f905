#pragma once
// The plane set's files: import through the preview dialog, parsed off the
// GUI thread with progress and Cancel; export of every plane's results as CSV,
// saved atomically.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

#include "tables/plane_reader.h"
#include "ui/planes/plane_study.h"

class QWidget;

namespace ui {

/// Reads the plane file `path` under `reading` off the GUI thread with a
/// progress dialog over `parent`; empty when the user cancelled. With
/// `work`, the planes read are also prepared under it there (`prepared`).
/// Throws std::runtime_error when the file cannot be read.
std::optional<tables::PlaneImport> ReadPlaneFile(
    QWidget* parent, const QString& path, const tables::PlaneReading& reading,
    const PlaneStudy::Work* work = nullptr,
    std::optional<PlaneStudy::Prepared>* prepared = nullptr);

/// "20 planes imported, 1 row skipped."
QString ImportSummary(std::size_t imported, std::size_t skipped);

/// File > Import planes: asks for a file, shows the preview, asks whether to
/// replace or append when the set holds planes, reads the file, then says
/// how many planes were imported and lists every skipped or changed row.
/// Cancel anywhere leaves the set as it was. Errors are thrown for the guard.
void ImportPlanes(QWidget* parent, PlaneStudy& study);
/// The same from the preview on, for the file `path`.
void ImportPlanesFrom(QWidget* parent, PlaneStudy& study, const QString& path);

/// The CSV of every plane's inputs and results (tables/plane_csv.h), rows in
/// the set's order, with its header line.
QByteArray PlaneResultsCsv(const PlaneStudy& study);

/// File > Export plane results: asks for a file and writes PlaneResultsCsv
/// to it atomically. Errors are thrown for the guard.
void ExportPlaneResults(QWidget* parent, const PlaneStudy& study);

}  // namespace ui
