#include "files/source_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <cstring>

namespace files {
namespace {

QString TooLarge(const SourceLimit& limit) {
  return QStringLiteral("it is larger than %1, the most Kelvane reads as %2")
      .arg(SizeText(limit.bytes), QString::fromLatin1(limit.what));
}

/// The reason `info` (of a file looked at or opened) is refused, or empty.
QString Refusal(const struct stat& info, const SourceLimit& limit) {
  if (S_ISDIR(info.st_mode))
    return QStringLiteral("it is a folder");
  if (!S_ISREG(info.st_mode))
    return QStringLiteral("it is not a regular file");
  if (info.st_size > limit.bytes)
    return TooLarge(limit);
  return {};
}

QString SystemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

QString SizeText(qint64 bytes) {
  constexpr const char* kUnits[] = {"GiB", "MiB", "KiB"};
  for (int k = 0; k < 3; ++k) {
    const qint64 unit = qint64{1} << (10 * (3 - k));
    if (bytes >= unit && bytes % unit == 0)
      return QStringLiteral("%1 %2").arg(bytes / unit).arg(QLatin1String(kUnits[k]));
  }
  return QStringLiteral("%1 bytes").arg(bytes);
}

QString SourceProblem(const QString& path, const SourceLimit& limit) {
  struct stat info {};
  if (stat(QFile::encodeName(path).constData(), &info) != 0)
    return SystemReason(errno);
  return Refusal(info, limit);
}

int OpenSourceDescriptor(const QString& path, const SourceLimit& limit, QString& problem) {
  problem = SourceProblem(path, limit);
  if (!problem.isEmpty())
    return -1;
  // Without blocking: a FIFO put in the file's place since it was looked at
  // would otherwise wait for a writer. A regular file ignores the flag.
  const int fd = open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    problem = SystemReason(errno);
    return -1;
  }
  struct stat info {};
  problem = fstat(fd, &info) != 0 ? SystemReason(errno) : Refusal(info, limit);
  if (!problem.isEmpty()) {
    close(fd);
    return -1;
  }
  return fd;
}

QString OpenSource(QFile& file, const SourceLimit& limit) {
  QString problem;
  const int fd = OpenSourceDescriptor(file.fileName(), limit, problem);
  if (fd < 0)
    return problem;
  if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    close(fd);
    return file.errorString();
  }
  return {};
}

QString ReadSource(const QString& path, const SourceLimit& limit, QByteArray& bytes) {
  QFile file(path);
  if (QString problem = OpenSource(file, limit); !problem.isEmpty())
    return problem;
  bytes.clear();
  bytes.reserve(file.size());
  constexpr qint64 kPiece = qint64{1} << 22;
  while (true) {
    const QByteArray piece = file.read(kPiece);
    if (piece.isEmpty()) {
      if (file.error() != QFileDevice::NoError)
        return file.errorString();
      return {};
    }
    if (piece.size() > limit.bytes - bytes.size())  // grown since it was opened
      return TooLarge(limit);
    bytes += piece;
  }
}

}  // namespace files
