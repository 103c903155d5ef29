#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

#include "language.h"

// One QApplication for every window test; run with QT_QPA_PLATFORM=offscreen.
// With --language-at-start, only prints what the window's start-up makes of
// the environment: the language, the caption of File > Open and the Cancel
// button of Qt's message boxes.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "--language-at-start") == 0) {
    setUpLanguage();
    const QString lines = windowLanguage() + '\n' + QCoreApplication::translate("TMainForm", "Open") + '\n' +
                          QCoreApplication::translate("QPlatformTheme", "Cancel") + '\n';
    std::fputs(lines.toUtf8().constData(), stdout);
    return 0;
  }
  QStandardPaths::setTestModeEnabled(true);  // settings of the tests' own
  // ctest runs the tests as processes side by side: each keeps its settings
  // (window layout, language) in a folder of its own, or one test's window
  // would restore the size another test's window saved.
  const QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
