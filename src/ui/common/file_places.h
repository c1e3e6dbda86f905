#pragma once
// Where the program's files go: the folder a file dialog starts in, kept
// across runs, and the check that a destination is a file the program may
// replace.

#include <QByteArray>
#include <QString>

namespace ui {

/// The folder the last file of `kind` ("report", ...) was saved in, while it
/// exists; else the documents folder, else the home folder.
QString LastFolder(const QString& kind);
/// Remembers the folder of `path` for the next dialog of `kind`.
void RememberFolder(const QString& kind, const QString& path);

/// Why the program must not write `path`, or empty when it may: after
/// following links, an existing destination that is neither a regular file
/// nor a folder (a FIFO, a device, a socket) is refused, since writing would
/// replace it by a regular file ("it is not a regular file"). A folder cannot
/// be opened for writing at all, which the writer reports itself.
QString DestinationProblem(const QString& path);

/// Writes `bytes` to `path` atomically: beside the destination first, taking
/// its place only when complete, so that on any failure an existing file
/// keeps its bytes and no partial file remains. A destination that
/// DestinationProblem refuses is not touched. Throws std::runtime_error
/// ("Could not save the <what> to <path>: <reason>", UTF-8, the path in the
/// platform's notation) when it cannot be written.
void SaveBytes(const QString& path, const QByteArray& bytes, const QString& what);

}  // namespace ui
