#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

// One QApplication for every window test; run with QT_QPA_PLATFORM=offscreen.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);  // settings of the tests' own
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
