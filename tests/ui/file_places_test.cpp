// Destinations the program may write, and the folder file dialogs open in.

#include "ui/common/file_places.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>

#include "test_names.h"

namespace {

using test_names::RowName;

struct DestinationCase {
  const char* name;
  std::function<QString(const QString& dir)> make;  // returns the destination
  const char* problem;
};

QString Regular(const QString& dir) {
  QFile file(dir + QStringLiteral("/old.pdf"));
  file.open(QIODevice::WriteOnly);
  file.write("%PDF");
  return file.fileName();
}

QString Link(const QString& dir, const QString& target) {
  const QString link = dir + QStringLiteral("/link.pdf");
  QFile::link(target, link);
  return link;
}

const DestinationCase kDestinationCases[] = {
    {"a new name", [](const QString& dir) { return dir + QStringLiteral("/new.pdf"); }, ""},
    {"a regular file", Regular, ""},
    {"a link to a regular file", [](const QString& dir) { return Link(dir, Regular(dir)); }, ""},
    {"a folder, which the writer cannot open", [](const QString& dir) { return dir; }, ""},
    {"a device", [](const QString&) { return QStringLiteral("/dev/null"); },
     "it is not a regular file"},
    {"a link to a device",
     [](const QString& dir) { return Link(dir, QStringLiteral("/dev/null")); },
     "it is not a regular file"},
    {"a FIFO",
     [](const QString& dir) {
       const QString fifo = dir + QStringLiteral("/fifo.pdf");
       ::mkfifo(QFile::encodeName(fifo).constData(), 0600);
       return fifo;
     },
     "it is not a regular file"},
};

class DestinationTest : public ::testing::TestWithParam<DestinationCase> {};

TEST_P(DestinationTest, RefusesWhatIsNoRegularFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString destination = GetParam().make(dir.path());
  EXPECT_EQ(ui::DestinationProblem(destination).toStdString(), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(Table, DestinationTest, ::testing::ValuesIn(kDestinationCases), RowName());

// The folder of the last file saved, while it exists; else the documents folder.
TEST(LastFolder, FollowsTheLastFileWhileItsFolderExists) {
  QStandardPaths::setTestModeEnabled(true);
  QTemporaryDir dir;
  ui::RememberFolder(QStringLiteral("test"), dir.path() + QStringLiteral("/a.pdf"));
  EXPECT_EQ(ui::LastFolder(QStringLiteral("test")), dir.path());
  const QString gone = dir.path() + QStringLiteral("/sub");
  QDir().mkpath(gone);
  ui::RememberFolder(QStringLiteral("test"), gone + QStringLiteral("/b.pdf"));
  QDir(gone).removeRecursively();
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  EXPECT_EQ(ui::LastFolder(QStringLiteral("test")),
            QDir(documents).exists() ? documents : QDir::homePath());
}

}  // namespace
