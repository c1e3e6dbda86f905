#pragma once
// Files the program reads (cases, plane tables, kelvane-cli's tables): a
// source must be a regular file no larger than the limit of what it holds.
// Both are checked before the file is opened, so that a FIFO never blocks a
// reader (nor wakes the program waiting to write into it) and a device such
// as /dev/zero never fills the memory; what was opened is checked again. Qt
// Core and POSIX, so that the command line reads as the window does.

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <limits>

class QFile;

namespace files {

/// The most bytes a reader takes, and what it reads, for the refusal.
struct SourceLimit {
  qint64 bytes;
  const char* what;  ///< "a case": "..., the most Kelvane reads as a case"
};

/// Cases: 2 GiB. A plane takes well under 200 bytes of a case, so a study of
/// ten million planes stays below.
inline constexpr SourceLimit kCaseLimit{qint64{2} << 30, "a case"};
/// Plane files read whole (the import, kelvane-cli figure --planes): 2 GiB,
/// ten million rows of 200 bytes.
inline constexpr SourceLimit kPlaneFileLimit{qint64{2} << 30, "a plane file"};
/// Tables read in bounded pieces (kelvane-cli tensors and planes): any size.
inline constexpr SourceLimit kStreamedTable{std::numeric_limits<qint64>::max(), "a table"};

/// "2 GiB", "64 KiB", "100 bytes": a limit as the refusal states it.
QString SizeText(qint64 bytes);

/// Why `path` must not be read, or empty when it may, without opening it:
/// after following links, the system's reason when it cannot be looked at
/// ("No such file or directory"), "it is a folder", "it is not a regular
/// file" (a FIFO, a device, a socket), or "it is larger than 2 GiB, the most
/// Kelvane reads as a case".
QString SourceProblem(const QString& path, const SourceLimit& limit);

/// Opens `path` for reading (close-on-exec) when SourceProblem has nothing
/// against it. The open never blocks, and what was opened is checked again
/// in case the path changed meanwhile. Returns the descriptor, or -1 with
/// `problem` set to SourceProblem's reason or the system's.
int OpenSourceDescriptor(const QString& path, const SourceLimit& limit, QString& problem);

/// The same into `file` (which closes the descriptor); empty when opened,
/// else the reason.
QString OpenSource(QFile& file, const SourceLimit& limit);

/// Reads the whole of `path` into `bytes` as OpenSource opens it, never more
/// than the limit even when the file grows meanwhile; empty when read, else
/// the reason.
QString ReadSource(const QString& path, const SourceLimit& limit, QByteArray& bytes);

}  // namespace files
