// The Help menu.
#include "TMainForm.h"
#include "dialogs.h"
#include "help_viewer.h"
#include "language.h"

// F1: the manual in the window's language.
void TMainForm::Help1Click() { showHelpContents(this, manualFileName(windowLanguage())); }

void TMainForm::RusHelpClick() { showHelpContents(this, QStringLiteral("HlpArtRu.hlp")); }

void TMainForm::PolHelpClick() { showHelpContents(this, QStringLiteral("HlpArtPl.hlp")); }

void TMainForm::About1Click() {
  if (about_) dialogs().execModal(about_);
}
