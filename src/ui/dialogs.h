#pragma once
#include <QString>
#include <optional>

#include "recording_choice.h"

class QDialog;
class QWidget;

enum class SaveAnswer { Save, Discard, Cancel };

// Every dialog the windows open goes through this seam, so tests can answer
// them without a person.
class DialogProvider {
 public:
  virtual ~DialogProvider() = default;
  // A .lis1 file to open; the name need not exist. nullopt when cancelled.
  virtual std::optional<QString> openSetFileName(QWidget* parent, const QString& lastName) = 0;
  // A .lis1 file to save to; replaced without asking. nullopt when cancelled.
  virtual std::optional<QString> saveSetFileName(QWidget* parent, const QString& lastName) = 0;
  // A Yes/No question; true for Yes.
  virtual bool confirm(QWidget* parent, const QString& caption, const QString& text) = 0;
  // An information box with one OK button.
  virtual void information(QWidget* parent, const QString& text) = 0;
  // Shows a dialog modally and returns its result code.
  virtual int execModal(QDialog* dialog) = 0;
  // "Save changes to NAME?" with Save, Discard and Cancel.
  virtual SaveAnswer saveChanges(QWidget* parent, const QString& name) = 0;
  // A PNG file to write the picture to. nullopt when cancelled.
  virtual std::optional<QString> saveImageFileName(QWidget*, const QString&) { return std::nullopt; }
  // A folder for recorded frames. nullopt when cancelled.
  virtual std::optional<QString> framesFolder(QWidget*, const QString&) { return std::nullopt; }
  // Record Frames' question: the folder with the step interval and the
  // stamp. By default only the folder is asked, the rest kept as it was.
  virtual std::optional<RecordingChoice> recordingChoice(QWidget* parent, const RecordingChoice& last) {
    const auto folder = framesFolder(parent, last.folder);
    if (!folder) return std::nullopt;
    RecordingChoice c = last;
    c.folder = *folder;
    return c;
  }
};

// The provider in use: the real Qt dialogs unless a test installed its own.
DialogProvider& dialogs();
void setDialogProvider(DialogProvider* provider);  // nullptr restores the real one
