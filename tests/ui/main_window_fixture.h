#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QSettings>
#include <QStringList>
#include <QTest>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "TMainForm.h"
#include "dialogs.h"
#include "error_box.h"
#include "language.h"
#include "ui_TMainForm.h"

// Go starts a run and returns; the run goes on in the event loop. Waits until
// it has ended, however it ends.
inline void waitForRunEnd(const AppState& app) {
  QDeadlineTimer deadline(60000);
  while (!app.set.Stopped && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  ASSERT_TRUE(app.set.Stopped) << "the run did not end";
}

// Answers every dialog from queues the test fills, and records what was asked.
class ScriptedDialogs : public DialogProvider {
 public:
  std::deque<std::optional<QString>> openAnswers, saveAnswers, imageAnswers, folderAnswers;
  std::deque<bool> confirmAnswers;
  std::deque<int> modalAnswers;
  std::deque<SaveAnswer> saveChangesAnswers;
  std::function<void(QDialog*)> onModal;
  QStringList asked;

  QStringList offered;  // the names the file dialogs were opened with
  std::optional<QString> openSetFileName(QWidget*, const QString& start) override {
    asked << "open";
    offered << start;
    return pop(openAnswers, std::optional<QString>());
  }
  std::optional<QString> saveSetFileName(QWidget*, const QString& start) override {
    asked << "save";
    offered << start;
    return pop(saveAnswers, std::optional<QString>());
  }
  bool confirm(QWidget*, const QString& caption, const QString& text) override {
    asked << caption + ": " + text;
    return pop(confirmAnswers, false);
  }
  void information(QWidget*, const QString& text) override { asked << "info: " + text; }
  SaveAnswer saveChanges(QWidget*, const QString& name) override {
    asked << "Save changes to " + name + "?";
    return pop(saveChangesAnswers, SaveAnswer::Discard);
  }
  std::optional<QString> saveImageFileName(QWidget*, const QString&) override {
    asked << "image";
    return pop(imageAnswers, std::optional<QString>());
  }
  std::optional<QString> framesFolder(QWidget*, const QString&) override {
    asked << "folder";
    return pop(folderAnswers, std::optional<QString>());
  }
  int execModal(QDialog* d) override {
    asked << "modal";
    if (onModal) onModal(d);
    return pop(modalAnswers, int(QDialog::Rejected));
  }

 private:
  template <class T>
  static T pop(std::deque<T>& q, T fallback) {
    if (!q.empty()) {
      fallback = std::move(q.front());
      q.pop_front();
    }
    return fallback;
  }
};

// A scratch folder for the start-up file and the sets, a recorder for error
// boxes, and a window created on demand after the files are in place.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/zentrova-ui-XXXXXX";
    dir = mkdtemp(tmpl);
    app.startupPath = dir + "/config/zentrova/Start.zent";
    setErrorSink([this](const QString& m) { errors << m; });
    setDialogProvider(&dlg);
    QSettings(QStringLiteral("zentrova"), QStringLiteral("zentrova")).remove(QStringLiteral("window/geometry"));  // every test starts first
  }
  void TearDown() override {
    window.reset();
    installLanguage(QStringLiteral("en"));
    setDialogProvider(nullptr);
    resetErrorSink();
    std::filesystem::remove_all(dir);
  }
  void writeFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  }
  std::string dataFile(const std::string& name) { return std::string(ZENTROVA_TEST_DATA) + "/" + name; }
  void pointStartupAt(const std::string& setPath) { writeFile(app.startupPath, setPath); }
  TMainForm& open() {
    window = std::make_unique<TMainForm>(app);
    window->show();
    QApplication::processEvents();
    return *window;
  }
  Ui::TMainForm& ui() { return window->form(); }
  QString cell(int row, int col) { return ui().DaonsTable->item(row, col)->text(); }
  // A number as the window shows it: with the user's decimal separator.
  static QString num(const char* text) {
    QString s = QString::fromLatin1(text);
    s.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator()));
    return s;
  }

  AppState app;
  ScriptedDialogs dlg;
  QStringList errors;
  std::string dir;
  std::unique_ptr<TMainForm> window;
};
