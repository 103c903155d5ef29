#include "dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "TRecordDlg.h"

namespace {

// Adds the default extension to a name typed without one.
QString withDefaultExtension(const QString& name) {
  const QString base = name.section(QLatin1Char('/'), -1);
  return base.contains(QLatin1Char('.')) ? name : name + QStringLiteral(".lis1");
}

std::optional<QString> runFileDialog(QWidget* parent, const QString& lastName, bool save) {
  QFileDialog dialog(parent);
  dialog.setNameFilter(QCoreApplication::translate("Dialogs", "Taons files (*.lis1)"));
  dialog.setDefaultSuffix(QStringLiteral("lis1"));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Open accepts a name that does not exist; save replaces without asking.
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!lastName.isEmpty()) dialog.selectFile(lastName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return withDefaultExtension(dialog.selectedFiles().first());
}

class QtDialogs : public DialogProvider {
 public:
  std::optional<QString> openSetFileName(QWidget* parent, const QString& lastName) override {
    return runFileDialog(parent, lastName, false);
  }
  std::optional<QString> saveSetFileName(QWidget* parent, const QString& lastName) override {
    return runFileDialog(parent, lastName, true);
  }
  bool confirm(QWidget* parent, const QString& caption, const QString& text) override {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  }
  void information(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Zentrova"), text, QMessageBox::Ok, parent);
    box.exec();
  }
  SaveAnswer saveChanges(QWidget* parent, const QString& name) override {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Zentrova"), QCoreApplication::translate("Dialogs", "Save changes to %1?").arg(name),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Save) return SaveAnswer::Save;
    if (answer == QMessageBox::Discard) return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
  }
  int execModal(QDialog* dialog) override { return dialog->exec(); }
  std::optional<QString> saveImageFileName(QWidget* parent, const QString& lastName) override {
    QFileDialog dialog(parent, QCoreApplication::translate("Dialogs", "Export Image"));
    dialog.setNameFilter(QCoreApplication::translate("Dialogs", "PNG images (*.png)"));
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!lastName.isEmpty()) dialog.selectFile(lastName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString name = dialog.selectedFiles().first();
    return name.section(QLatin1Char('/'), -1).contains(QLatin1Char('.')) ? name : name + QStringLiteral(".png");
  }
  std::optional<QString> framesFolder(QWidget* parent, const QString& lastFolder) override {
    const QString folder = QFileDialog::getExistingDirectory(parent, QCoreApplication::translate("Dialogs", "Record Frames"), lastFolder);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
  }
  std::optional<RecordingChoice> recordingChoice(QWidget* parent, const RecordingChoice& last) override {
    return askRecording(parent, last);
  }
};

DialogProvider*& current() {
  static DialogProvider* p = nullptr;
  return p;
}

}  // namespace

DialogProvider& dialogs() {
  static QtDialogs real;
  return current() ? *current() : real;
}

void setDialogProvider(DialogProvider* provider) { current() = provider; }
