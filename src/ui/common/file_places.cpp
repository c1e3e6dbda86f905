#include "ui/common/file_places.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace ui {
namespace {

QSettings Settings() {
  return QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"));
}

QString FolderKey(const QString& kind) {
  return QStringLiteral("folders/") + kind;
}

}  // namespace

QString LastFolder(const QString& kind) {
  const QString last = Settings().value(FolderKey(kind)).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir())
    return last;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir())
    return documents;
  return QDir::homePath();
}

void RememberFolder(const QString& kind, const QString& path) {
  Settings().setValue(FolderKey(kind), QFileInfo(path).absolutePath());
}

}  // namespace ui
