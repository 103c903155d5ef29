// Undo and Redo of what changes the set.
#include "main_history.h"

#include <QUndoCommand>
#include <QUndoStack>

#include "main_files.h"

using namespace zentrova;

namespace {

// One change of the set, held as the whole set before and after it. The
// change has already happened when the command is pushed.
class SetChange : public QUndoCommand {
 public:
  SetChange(TMainForm* form, ParticleSet& set, const QString& text, SetSnapshot before, SetSnapshot after, int id,
            std::int64_t steps)
      : QUndoCommand(text), form_(form), set_(set), before_(std::move(before)), after_(std::move(after)), id_(id),
        steps_(steps) {}
  void undo() override { apply(before_); }
  void redo() override {
    if (pushed_) apply(after_);
    pushed_ = true;
  }
  int id() const override { return id_; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* o = static_cast<const SetChange*>(other);
    after_ = o->after_;
    steps_ += o->steps_;
    setText(MainHistory::singleStepsText(steps_));
    return true;
  }

 private:
  void apply(const SetSnapshot& s) {
    s.restoreInto(set_);
    form_->showRestoredSet();
  }
  TMainForm* form_;
  ParticleSet& set_;
  SetSnapshot before_, after_;
  int id_;
  std::int64_t steps_;
  bool pushed_ = false;
};

// Thousands apart by a space that never breaks: "12 345".
QString groupedCount(std::int64_t n) {
  QString digits = QString::number(n < 0 ? -n : n);
  for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, QChar(0x00A0));
  return n < 0 ? QStringLiteral("-") + digits : digits;
}

// The count that picks the plural form of a number of steps: the count itself,
// or for large ones a stand-in with the same last two digits, since tr() takes
// an int.
int pluralCount(std::int64_t n) { return n < 1000000 ? int(n) : 1000000 + int(n % 100); }

}  // namespace

QString MainHistory::runText(std::int64_t steps) {
  return steps == 1 ? TMainForm::tr("Run of 1 step")
                    : TMainForm::tr("Run of %1 steps", nullptr, pluralCount(steps)).arg(groupedCount(steps));
}

QString MainHistory::singleStepsText(std::int64_t steps) {
  return steps == 1 ? TMainForm::tr("Single Step")
                    : TMainForm::tr("%1 Single Steps", nullptr, pluralCount(steps)).arg(groupedCount(steps));
}

MainHistory::MainHistory(TMainForm& form) : MainPart(form) {
  undo_ = new QUndoStack(this);
  ui_.Redo1->setShortcuts({ui_.Redo1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
    connect(undo_, signal, this, [this] { updateActions(); });
  for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
    connect(undo_, signal, this, [this] { updateActions(); });
}

MainHistory::~MainHistory() {
  undo_->disconnect(this);  // the stack is cleared as it goes, after the menus
}

void MainHistory::updateActions() {
  const bool idle = app_.set.Stopped;
  const QString undoText = undo_->undoText(), redoText = undo_->redoText();
  ui_.Undo1->setText(undoText.isEmpty() ? TMainForm::tr("Undo") : TMainForm::tr("Undo %1").arg(undoText));
  ui_.Redo1->setText(redoText.isEmpty() ? TMainForm::tr("Redo") : TMainForm::tr("Redo %1").arg(redoText));
  ui_.Undo1->setEnabled(idle && undo_->canUndo());
  ui_.Redo1->setEnabled(idle && undo_->canRedo());
}

void MainHistory::Undo1Click() {
  if (app_.set.Stopped) undo_->undo();
}

void MainHistory::Redo1Click() {
  if (app_.set.Stopped) undo_->redo();
}

void MainHistory::pushChange(const QString& text, const SetSnapshot& before, int mergeId, std::int64_t steps) {
  pushChangeBetween(text, before, SetSnapshot(app_.set), mergeId, steps);
}

void MainHistory::pushChangeBetween(const QString& text, const SetSnapshot& before, const SetSnapshot& after,
                                    int mergeId, std::int64_t steps) {
  form_.files().updateTitle();
  // A change made while a run goes belongs to the run's own command.
  if (!app_.set.Stopped || sameSet(before, after)) return;
  undo_->push(new SetChange(&form_, app_.set, text, before, after, mergeId, steps));
}

void MainHistory::clear() {
  undo_->clear();
  if (cleared_) cleared_();
}
