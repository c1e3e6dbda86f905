#pragma once
// Files the program writes (reports, tables, figures): the check that a
// destination is a file it may replace, and the atomic write. Qt Core only,
// so that the command line writes as the window does.

#include <QByteArray>
#include <QString>

namespace files {

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

}  // namespace files
