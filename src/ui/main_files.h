#pragma once
#include <QCoreApplication>
#include <QString>
#include <string>

#include "main_part.h"
#include "state/particle_record.h"

// The File and Figure commands, the velocity reset, the title that marks a
// change and the question that keeps unsaved work.
class MainFiles : public MainPart {
  Q_DECLARE_TR_FUNCTIONS(MainFiles)

 public:
  explicit MainFiles(TMainForm& form);

  void New1Click();
  void Open1Click();
  void Save1Click();
  void Saveas1Click();
  void Null00Click();
  void Spiral1Click();
  void Daons1Click();

  // What was last opened or saved is what the question compares with.
  void markSaved();
  // Whether the set differs from what was last opened or saved, compared as
  // the record Save would write.
  bool setChanged() const;
  // Whether the title shows the set as changed.
  bool titleMarked() const { return titleMarked_; }
  void updateTitle();
  // "Save changes to NAME?" when the set changed; false when the user cancels.
  bool askSaveChanges();
  // Whether the set is a built-in one that has no file yet.
  bool hasNoFile() const;
  // Where Open starts and what Save As offers: the set's own folder and
  // name, or a new name among the examples for a built-in set.
  QString startFolder() const;
  QString suggestedSaveName() const;
  static QString examplesFolder();
  static QString velocityResetText();

 private:
  QString setDisplayName() const;
  // The set refresh of Open and New, drawing last.
  void showNewSet(bool fitWhenUnseen);

  QString lastOpenName_, lastSaveName_;
  zentrova::ParticleRecord savedRecord_;  // what was last opened or saved
  std::string savedName_;
  bool titleMarked_ = false;
};
