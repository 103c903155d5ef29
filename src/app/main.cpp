#include <QApplication>
#include <QIcon>
#include <cstdio>

#include "TAboutBox.h"
#include "TEditDlg.h"
#include "TMainForm.h"
#include "app_state.h"
#include "language.h"
#include "termination_signals.h"
#include "files/startup_file.h"
#include "scarce_threads.h"

int main(int argc, char** argv) {
  if (!reserveQtThreads()) {
    const int needed = threadsTheWindowNeeds();
    std::fprintf(stderr, "zentrova: too few threads: the window needs %s besides its own (see ulimit -u)\n",
                 needed == 3 ? "three" : "two");
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Zentrova"));
  QApplication::setApplicationDisplayName(QString());
  initUiResources();
  setUpLanguage();
  QApplication::setWindowIcon(programIcon());

  static AppState app;  // the one set, view and record buffer of the process
  app.startupPath = zentrova::startupFilePath();
  TerminationSignals ending(app.set);

  TMainForm mainForm(app);
  TEditDlg editDlg(app, [&mainForm] { return mainForm.taoscopeChecked(); }, &mainForm);
  TAboutBox aboutBox(&mainForm);
  mainForm.setEditor(&editDlg);
  mainForm.setAboutBox(&aboutBox);
  mainForm.show();
  if (const int code = ending.exitCode()) return code;  // ended while a box of the start-up was up
  return application.exec();
}
