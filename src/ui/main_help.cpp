// The Help menu.
#include <QAction>
#include <QKeySequence>

#include "TMainForm.h"
#include "dialogs.h"
#include "help_viewer.h"
#include "language.h"

void TMainForm::Help1Click() { showHelpContents(this, QStringLiteral("HlpArtEn.hlp")); }

void TMainForm::RusHelpClick() { showHelpContents(this, QStringLiteral("HlpArtRu.hlp")); }

void TMainForm::PolHelpClick() { showHelpContents(this, QStringLiteral("HlpArtPl.hlp")); }

void TMainForm::About1Click() {
  if (about_) dialogs().execModal(about_);
}

// Every key of the menus as the actions carry them, so the list cannot go
// stale, and the keys and clicks that belong to no menu.
QString TMainForm::keyboardText() const {
  QString rows;
  const auto row = [&rows](const QString& keys, const QString& what) {
    rows += QStringLiteral("<tr><td><b>%1</b></td><td>&nbsp;&nbsp;%2</td></tr>").arg(keys.toHtmlEscaped(), what.toHtmlEscaped());
  };
  for (const QAction* action : findChildren<QAction*>()) {
    if (action->shortcuts().isEmpty() || action->isSeparator()) continue;
    QStringList keys;
    for (const QKeySequence& k : action->shortcuts()) keys << k.toString(QKeySequence::NativeText);
    row(keys.join(QStringLiteral(", ")), action->text().remove(QLatin1Char('&')));
  }
  row(tr("Enter"), tr("Go, or Stop during a run"));
  row(tr("Esc"), tr("Stop a run"));
  row(tr("Click"), tr("Pick a particle; on empty space, clear the pick"));
  row(tr("Shift+Click"), tr("Pick a second particle (distance) and a third (angle)"));
  row(tr("Left drag"), tr("Turn the view"));
  row(tr("Right drag"), tr("Turn about the view's axis and zoom"));
  row(tr("Wheel"), tr("Zoom"));
  row(tr("Double click on the listing"), tr("Positions or velocities"));
  return QStringLiteral("<table>") + rows + QStringLiteral("</table>");
}

void TMainForm::Keyboard1Click() { dialogs().information(this, keyboardText()); }
