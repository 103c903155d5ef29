// The keyboard of the main window: the menus' shortcuts and Esc during a run
// reach the program whichever control has the focus.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include "TMainForm.h"
#include "language.h"
#include "ui_TMainForm.h"

namespace {

class KeyRouter : public QObject {
 public:
  explicit KeyRouter(TMainForm* form) : form_(form) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return form_->filterKey(watched, event); }

 private:
  TMainForm* form_;
};

}  // namespace

void TMainForm::setUpKeys() {
  // The keys people type by habit, beside the menus' own.
  ui->New1->setShortcuts({ui->New1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N)});
  ui->Open1->setShortcuts({ui->Open1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O)});
  ui->Exit1->setShortcuts({ui->Exit1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q)});
  // F1 opens the manual of the window's language. In a Polish or Russian
  // window it moves to that manual's item, so that the menu shows where it
  // leads and English Help still opens the English manual.
  QAction* own = windowLanguage() == QLatin1String("pl")   ? ui->PolHelp
                 : windowLanguage() == QLatin1String("ru") ? ui->RusHelp
                                                           : nullptr;
  if (own) {
    ui->Help1->setShortcut({});
    own->setShortcuts({QKeySequence(Qt::Key_F1), own->shortcut()});
  }
  // Keys pressed in any control pass here first.
  keyRouter_ = new KeyRouter(this);
  qApp->installEventFilter(keyRouter_);
}

bool TMainForm::isMenuShortcut(const QKeyEvent* key) const {
  const QKeySequence typed(key->keyCombination());
  for (const QAction* action : findChildren<QAction*>())
    if (action->isEnabled() && action->shortcuts().contains(typed)) return true;
  return false;
}

bool TMainForm::filterKey(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;  // popups and other windows keep their keys
  auto* key = static_cast<QKeyEvent*>(event);
  // A text field would take Ctrl+Left and its like for itself; the menus'
  // shortcuts win, as their F-keys do.
  // The commentary keeps Ctrl+Z and its like for its own typing.
  if (type == QEvent::ShortcutOverride) {
    const bool inComment = watched == ui->Comment || widget->parent() == ui->Comment;
    if (inComment && (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                      QKeySequence(key->keyCombination()) == QKeySequence(Qt::CTRL | Qt::Key_Y)))
      return false;
    return isMenuShortcut(key);
  }
  if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && !app_.set.Stopped &&
      ui->Go->isEnabled()) {
    ui->Go->click();
    return true;
  }
  return false;
}
