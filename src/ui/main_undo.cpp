// Undo and Redo of what changes the set, the title that marks a change, and
// the question that keeps unsaved work.
#include <QFileInfo>
#include <QUndoCommand>
#include <QUndoStack>

#include "TMainForm.h"
#include "dialogs.h"
#include "ui_TMainForm.h"

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
    setText(TMainForm::singleStepsText(steps_));
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

}  // namespace

QString TMainForm::runText(std::int64_t steps) {
  return steps == 1 ? QStringLiteral("Run of 1 step") : QStringLiteral("Run of %1 steps").arg(groupedCount(steps));
}

QString TMainForm::singleStepsText(std::int64_t steps) {
  return steps == 1 ? QStringLiteral("Single Step") : QStringLiteral("%1 Single Steps").arg(groupedCount(steps));
}

void TMainForm::setUpUndo() {
  undo_ = new QUndoStack(this);
  ui->Redo1->setShortcuts({ui->Redo1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
    connect(undo_, signal, this, [this] { updateUndoActions(); });
  for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
    connect(undo_, signal, this, [this] { updateUndoActions(); });
  connect(ui->Undo1, &QAction::triggered, this, [this] { runCommand([this] { Undo1Click(); }); });
  connect(ui->Redo1, &QAction::triggered, this, [this] { runCommand([this] { Redo1Click(); }); });
}

void TMainForm::updateUndoActions() {
  const bool idle = app_.set.Stopped;
  const QString undoText = undo_->undoText(), redoText = undo_->redoText();
  ui->Undo1->setText(undoText.isEmpty() ? QStringLiteral("Undo") : QStringLiteral("Undo ") + undoText);
  ui->Redo1->setText(redoText.isEmpty() ? QStringLiteral("Redo") : QStringLiteral("Redo ") + redoText);
  ui->Undo1->setEnabled(idle && undo_->canUndo());
  ui->Redo1->setEnabled(idle && undo_->canRedo());
}

void TMainForm::Undo1Click() {
  if (app_.set.Stopped) undo_->undo();
}

void TMainForm::Redo1Click() {
  if (app_.set.Stopped) undo_->redo();
}

void TMainForm::pushChange(const QString& text, const SetSnapshot& before, int mergeId, std::int64_t steps) {
  pushChangeBetween(text, before, SetSnapshot(app_.set), mergeId, steps);
}

void TMainForm::pushChangeBetween(const QString& text, const SetSnapshot& before, const SetSnapshot& after,
                                  int mergeId, std::int64_t steps) {
  updateTitle();
  // A change made while a run goes belongs to the run's own command.
  if (!app_.set.Stopped || sameSet(before, after)) return;
  undo_->push(new SetChange(this, app_.set, text, before, after, mergeId, steps));
}

void TMainForm::clearUndo() {
  undo_->clear();
  ++undoGeneration_;
}

void TMainForm::showRestoredSet() {
  auto& s = app_.set;
  clearTrails();
  ui->Go->setEnabled(!s.FigureMode);
  ui->Null00->setEnabled(!s.FigureMode);
  if (!s.FigureMode) ui->FName->setText(fromLocal(s.SetFileName));
  if (ShowTime) ui->LTime->setText(QString::number(s.Time));
  fillListing();
  showParameters();
  updateTitle();
  if (s.FigureMode)
    DrawFigure();
  else
    DrawTaons();
}

void TMainForm::markSaved() {
  savedRecord_ = recordOf(app_.set, app_.record);
  savedName_ = app_.set.SetFileName;
  updateTitle();
}

bool TMainForm::setChanged() const {
  const auto& s = app_.set;
  if (s.FigureMode) return false;  // a figure is never saved
  return s.SetFileName != savedName_ || recordOf(s, app_.record).bytes != savedRecord_.bytes;
}

QString TMainForm::setDisplayName() const {
  return QFileInfo(fromLocal(app_.set.SetFileName)).fileName();
}

void TMainForm::updateTitle() {
  if (app_.set.FigureMode) {
    titleMarked_ = false;
    setWindowTitle(QStringLiteral(" Zentrova"));
    return;
  }
  titleMarked_ = setChanged();
  setWindowTitle(setDisplayName() + (titleMarked_ ? QStringLiteral("*") : QString()) +
                 QStringLiteral(" \u2014 Zentrova"));
}

bool TMainForm::askSaveChanges() {
  if (!setChanged()) return true;
  switch (dialogs().saveChanges(this, setDisplayName())) {
    case SaveAnswer::Save:
      Save1Click();  // a failed save ends the command with its error
      return true;
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      break;
  }
  return false;
}
