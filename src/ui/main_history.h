#pragma once
#include <QString>
#include <cstdint>
#include <functional>

#include "main_part.h"
#include "state/set_snapshot.h"

class QUndoStack;

// Undo and Redo of what changes the set: each change is one command holding
// the whole set before and after it.
class MainHistory : public MainPart {
 public:
  explicit MainHistory(TMainForm& form);
  ~MainHistory() override;

  QUndoStack* stack() const { return undo_; }
  void Undo1Click();
  void Redo1Click();
  // The menu's texts, and Undo and Redo only while no run goes.
  void updateActions();
  // A change that has happened: one command, unless nothing changed or a run
  // goes (the run is its own command). Marks the title either way.
  void pushChange(const QString& text, const zentrova::SetSnapshot& before, int mergeId = -1,
                  std::int64_t steps = 1);
  void pushChangeBetween(const QString& text, const zentrova::SetSnapshot& before,
                         const zentrova::SetSnapshot& after, int mergeId = -1, std::int64_t steps = 1);
  // A new history: after Open, New and Save.
  void clear();
  // Calls `cleared` whenever the history starts anew.
  void onCleared(std::function<void()> cleared) { cleared_ = std::move(cleared); }

  static QString runText(std::int64_t steps);
  static QString singleStepsText(std::int64_t steps);

 private:
  QUndoStack* undo_ = nullptr;
  std::function<void()> cleared_;
};
