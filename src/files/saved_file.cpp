#include "files/saved_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <stdexcept>

namespace files {

QString DestinationProblem(const QString& path) {
  const QFileInfo info(path);
  // QFileInfo follows links: a link to a device is judged as the device.
  if (!info.exists())
    return {};
  // A folder is no file at all: opening it fails with the system's reason.
  if (!info.isFile() && !info.isDir())
    return QStringLiteral("it is not a regular file");
  return {};
}

void SaveBytes(const QString& path, const QByteArray& bytes, const QString& what) {
  const auto failure = [&](const QString& reason) {
    return std::runtime_error(QStringLiteral("Could not save the %1 to %2: %3")
                                  .arg(what, QDir::toNativeSeparators(path), reason)
                                  .toStdString());
  };
  // A FIFO or a device would be replaced by a regular file: refused.
  if (const QString problem = DestinationProblem(path); !problem.isEmpty())
    throw failure(problem);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    throw failure(file.errorString());
  // A write that fills the disk may store part of its bytes and report no
  // error; writing the rest then fails with the system's reason. Each write's
  // count is checked, so that a short file is never committed.
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
    if (count <= 0)
      throw failure(file.errorString());
    written += count;
  }
  if (!file.flush() || !file.commit())
    throw failure(file.errorString());
}

}  // namespace files
