// Sources refused before they are read: what is no regular file (a FIFO
// among them, which would block an open for good) and what is larger than
// the limit of what it holds, each with its reason; the rest read whole.

#include "files/source_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <future>

#include "test_names.h"

namespace files {
namespace {

constexpr SourceLimit kKibibyte{1024, "a test file"};

/// Writes `size` bytes of 'x' (a sparse file beyond 1 MiB) at `path`.
void MakeFile(const QString& path, qint64 size) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  if (size > (1 << 20))
    ASSERT_TRUE(file.resize(size));
  else
    file.write(QByteArray(size, 'x'));
}

struct SourceRow {
  const char* name;
  /// Makes the source in `folder` and returns its path.
  std::function<QString(const QString& folder)> make;
  SourceLimit limit;
  const char* problem;  ///< empty: read whole
};

/// Makes a file of `size` bytes named `name`.
std::function<QString(const QString&)> FileOf(const char* name, qint64 size) {
  return [=](const QString& folder) {
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    MakeFile(path, size);
    return path;
  };
}

const SourceRow kSources[] = {
    {"small file", FileOf("a.csv", 10), kKibibyte, ""},
    {"file of the limit", FileOf("a.csv", 1024), kKibibyte, ""},
    {"file one byte over the limit", FileOf("a.csv", 1025), kKibibyte,
     "it is larger than 1 KiB, the most Kelvane reads as a test file"},
    {"case over 2 GiB", FileOf("a.kelvane", (qint64{2} << 30) + 1), kCaseLimit,
     "it is larger than 2 GiB, the most Kelvane reads as a case"},
    {"FIFO",
     [](const QString& d) {
       EXPECT_EQ(mkfifo(QFile::encodeName(d + "/pipe").constData(), 0600), 0);
       return d + "/pipe";
     },
     kStreamedTable, "it is not a regular file"},
    {"device", [](const QString&) { return QStringLiteral("/dev/zero"); }, kCaseLimit,
     "it is not a regular file"},
    {"link to a device",
     [](const QString& d) {
       QFile::link(QStringLiteral("/dev/zero"), d + "/zero.csv");
       return d + "/zero.csv";
     },
     kPlaneFileLimit, "it is not a regular file"},
    {"folder", [](const QString& d) { return d; }, kCaseLimit, "it is a folder"},
    {"missing file", [](const QString& d) { return d + "/none.kelvane"; }, kCaseLimit,
     "No such file or directory"},
};

class Sources : public ::testing::TestWithParam<SourceRow> {};

TEST_P(Sources, AreRefusedBeforeOpeningOrReadWhole) {
  const SourceRow& row = GetParam();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = row.make(folder.path());
  EXPECT_EQ(SourceProblem(path, row.limit).toStdString(), row.problem);

  // Off this thread, so that an open that blocks fails the test instead of
  // hanging it; a writer then releases the reader.
  auto read = std::async(std::launch::async, [&] {
    QByteArray bytes;
    const QString problem = ReadSource(path, row.limit, bytes);
    return std::pair(problem, bytes.size());
  });
  if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "the read blocked";
    const int writer = open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
    if (writer >= 0)
      close(writer);
  }
  const auto [problem, size] = read.get();
  EXPECT_EQ(problem.toStdString(), row.problem);
  if (problem.isEmpty()) {
    EXPECT_EQ(size, QFileInfo(path).size());
  }
}

INSTANTIATE_TEST_SUITE_P(Table, Sources, ::testing::ValuesIn(kSources), test_names::RowName());

}  // namespace
}  // namespace files
