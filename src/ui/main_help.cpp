// The Help menu.
#include "TMainForm.h"
#include "dialogs.h"
#include "help_viewer.h"

void TMainForm::Help1Click() { showHelpContents(this, QStringLiteral("HlpArtEn.hlp")); }

void TMainForm::RusHelpClick() { showHelpContents(this, QStringLiteral("HlpArtRu.hlp")); }

void TMainForm::PolHelpClick() { showHelpContents(this, QStringLiteral("HlpArtPl.hlp")); }

void TMainForm::About1Click() {
  if (about_) dialogs().execModal(about_);
}
