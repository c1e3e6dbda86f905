// Test main for tests that drive real widgets: one QApplication on the
// offscreen platform unless a display platform was chosen explicitly.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kelvane"));
  QApplication::setApplicationVersion(QStringLiteral("1.0"));
  // Settings go to a test folder, never the user's.
  QStandardPaths::setTestModeEnabled(true);
  return RUN_ALL_TESTS();
}
