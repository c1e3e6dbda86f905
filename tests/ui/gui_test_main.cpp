// Test main for tests that drive real widgets: one QApplication on the
// offscreen platform unless a display platform was chosen explicitly.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings go to a folder of this run, never the user's.
  QTemporaryDir config;
  if (config.isValid())
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kelvane"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));
  return RUN_ALL_TESTS();
}
