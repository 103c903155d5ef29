// File commands, figure commands, the velocity reset and the commentary.
#include <QDialog>
#include <QPlainTextEdit>

#include "TMainForm.h"
#include "dialogs.h"
#include "files/file_io.h"
#include "figures/figures.h"
#include "files/commentary.h"
#include "files/text_codec.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "ui_TMainForm.h"

using namespace zentrova;

namespace {

// The memo holds plain line breaks; the file holds CR LF between lines.
QString memoText(const std::string& utf8) {
  QString text = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}


}  // namespace

void TMainForm::setRefresh() {
  app_.set.Time = 0;
  ui->LTime->setText(QStringLiteral("0"));
  DrawTaons();
  fillListing();
  showParameters();
}

void TMainForm::New1Click() {
  if (!editor_ || dialogs().execModal(editor_) != QDialog::Accepted) return;
  clearTrails();
  app_.set.FigureMode = false;
  ui->Go->setEnabled(true);
  ui->Null00->setEnabled(true);
  ui->FName->setText(fromLocal(app_.set.SetFileName));
  setRefresh();
}

void TMainForm::Open1Click() {
  const auto chosen = dialogs().openSetFileName(this, lastOpenName_);
  if (!chosen) return;
  lastOpenName_ = *chosen;
  auto& s = app_.set;
  s.FigureMode = false;
  ui->Go->setEnabled(true);
  ui->Null00->setEnabled(true);
  s.SetFileName = toLocal(*chosen);
  ui->FName->setText(*chosen);
  readSetFile(s.SetFileName, app_.record);
  s.StartName = s.SetFileName;
  writeStartupFile(app_.startupPath, s.StartName);
  loadRecordIntoSet(app_.record, s);
  clearTrails();
  setRefresh();
  loadCommentary();
}

void TMainForm::Save1Click() {
  if (app_.set.FigureMode) return;
  saveSet(app_.set, app_.record, app_.set.SetFileName);
}

void TMainForm::Saveas1Click() {
  auto& s = app_.set;
  if (s.FigureMode) return;
  const auto chosen = dialogs().saveSetFileName(this, lastSaveName_);
  if (!chosen) return;
  lastSaveName_ = *chosen;
  s.SetFileName = toLocal(*chosen);
  ui->FName->setText(*chosen);
  saveSet(s, app_.record, s.SetFileName);
  s.StartName = s.SetFileName;
  writeStartupFile(app_.startupPath, s.StartName);
}

void TMainForm::Null00Click() {
  auto& s = app_.set;
  if (s.FigureMode || !s.Stopped) return;
  for (int i = 0; i < std::min(s.Count, kMaxParticles); ++i) {
    s.Ux[i] = s.Uy[i] = s.Uz[i] = 0;
    s.Ux1[i] = s.Uy1[i] = s.Uz1[i] = 0;
  }
  clearTrails();
  ui->Null00->setText(QStringLiteral("Yes Null"));
  ui->Null00->setStyleSheet(null00Style());
  fillListing();
  Saveas1Click();
}

void TMainForm::Spiral1Click() {
  clearTrails();
  app_.set.FigureMode = true;
  buildFigure(app_.set);
  ui->Go->setEnabled(false);
  ui->Null00->setEnabled(false);
  DrawFigure();
}

void TMainForm::Daons1Click() {
  auto& s = app_.set;
  clearTrails();
  s.FigureMode = false;
  ui->Go->setEnabled(true);
  ui->Null00->setEnabled(true);
  const auto startName = readStartupFile(app_.startupPath);
  if (!startName) {
    dialogs().information(this, QStringLiteral("The start File not found."));
    return;
  }
  s.StartName = *startName;
  if (s.StartName.empty()) {
    buildFigure(s);
    s.SetFileName = "This is a stabil structur of taons";
    fillListing();
    ui->FName->setText(fromLocal(s.SetFileName));
    DrawTaons();
    return;
  }
  s.SetFileName = s.StartName;
  ui->FName->setText(fromLocal(s.SetFileName));
  InFile file;
  if (!file.tryOpen(s.SetFileName)) {
    buildFigure(s);
    return;
  }
  readRecordAndClose(file, app_.record);
  loadRecordIntoSet(app_.record, s);
  DrawTaons();
  fillListing();
}

void TMainForm::loadCommentary() {
  const auto bytes = zentrova::loadCommentary(commentaryPath(app_.set.SetFileName));
  if (!bytes) return;
  commentEncoding_ = detectEncoding(*bytes);
  const QString memo = memoText(decodeText(*bytes, commentEncoding_));
  savedComment_ = memo;
  // Loading the same text is no change.
  if (memo != ui->Comment->toPlainText()) ui->Comment->setPlainText(memo);
}

void TMainForm::CommentChange() { CommentChanged = true; }

void TMainForm::CommentExit() {
  if (!CommentChanged) return;
  CommentChanged = false;
  if (!dialogs().confirm(this, QStringLiteral("Confirm"), QStringLiteral("The text was changed. Save now?"))) return;
  saveComment();
}

void TMainForm::saveComment() {
  const QString text = ui->Comment->toPlainText();
  const std::string utf8 = text.toUtf8().toStdString();
  // A text read in the old code page goes back in it, unless something typed
  // since has no place there; UTF-8 then keeps every character.
  std::optional<std::string> bytes = encodeText(utf8, commentEncoding_);
  if (!bytes) bytes = utf8;
  saveCommentary(commentaryPath(app_.set.SetFileName), commentaryLines(*bytes));
  commentEncoding_ = detectEncoding(*bytes);
  savedComment_ = text;
}

void TMainForm::commentCloseCheck() {
  CommentChanged = false;
  if (ui->Comment->toPlainText() == savedComment_) return;
  if (!dialogs().confirm(this, QStringLiteral("Confirm"), QStringLiteral("The text was changed. Save now?"))) return;
  saveComment();
}
