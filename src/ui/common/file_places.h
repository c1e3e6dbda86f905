#pragma once
// Where the program's files go: the folder a file dialog starts in, kept
// across runs.

#include <QByteArray>
#include <QString>

#include "files/saved_file.h"

namespace ui {

/// The folder the last file of `kind` ("report", ...) was saved in, while it
/// exists; else the documents folder, else the home folder.
QString LastFolder(const QString& kind);
/// Remembers the folder of `path` for the next dialog of `kind`.
void RememberFolder(const QString& kind, const QString& path);

/// Destinations are checked and written as files/saved_file.h says.
using files::DestinationProblem;
using files::SaveBytes;

}  // namespace ui
