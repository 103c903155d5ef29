// File commands, figure commands, the velocity reset and the commentary.
#include <QDialog>
#include <QPlainTextEdit>
#include <QStringDecoder>
#include <QTextBlock>
#include <QUndoStack>

#include "TMainForm.h"
#include "TEditDlg.h"
#include "dialogs.h"
#include "error_box.h"
#include "files/file_io.h"
#include "figures/figures.h"
#include "files/commentary.h"
#include "files/text_codec.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "ui_TMainForm.h"
#include "view/drawing.h"
#include "view/fit.h"

using namespace zentrova;

namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

// The set refresh of New and Open. Everything that describes the set is shown
// before it is drawn, so a drawing fault is reported over a window that
// already shows the set it names.
void TMainForm::showNewSet(bool fitWhenUnseen) {
  app_.set.Time = 0;
  ui->LTime->setText(QStringLiteral("0"));
  fillListing();
  showParameters();
  updateTitle();
  drawWith([&](const Scene& scene) {
    zentrova::DrawTaons(scene);
    if (fitWhenUnseen && noParticleInView(scene)) FitToView(scene, fitTopInset());
  });
}

void TMainForm::New1Click() {
  if (!editor_ || !askSaveChanges()) return;
  auto* editor = qobject_cast<TEditDlg*>(editor_);
  if (dialogs().execModal(editor_) != QDialog::Accepted) return;
  clearTrails();
  app_.set.FigureMode = false;
  app_.set.Time = 0;
  // The editor's Yes, Save As and OK each become one command of a new history.
  clearUndo();
  if (editor) {
    const auto steps = editor->takeSteps();
    for (std::size_t i = 0; i < steps.size(); ++i)
      pushChangeBetween(steps[i].text, steps[i].before,
                        i + 1 < steps.size() ? steps[i + 1].before : SetSnapshot(app_.set));
    if (editor->savedOnOk()) markSaved();
  }
  ui->Go->setEnabled(true);
  ui->Null00->setEnabled(true);
  ui->FName->setText(fromLocal(app_.set.SetFileName));
  showNewSet(false);
}

void TMainForm::Open1Click() {
  if (!askSaveChanges()) return;
  const auto chosen = dialogs().openSetFileName(this, lastOpenName_);
  if (!chosen) return;
  lastOpenName_ = *chosen;
  clearUndo();
  auto& s = app_.set;
  s.FigureMode = false;
  ui->Go->setEnabled(true);
  ui->Null00->setEnabled(true);
  s.SetFileName = toLocal(*chosen);
  ui->FName->setText(*chosen);
  updateTitle();
  readSetFile(s.SetFileName, app_.record);
  s.StartName = s.SetFileName;
  writeStartupFile(app_.startupPath, s.StartName);
  loadRecordIntoSet(app_.record, s);
  markSaved();
  clearTrails();
  loadCommentary();
  showNewSet(true);
}

void TMainForm::Save1Click() {
  if (app_.set.FigureMode) return;
  saveSet(app_.set, app_.record, app_.set.SetFileName);
  clearUndo();
  markSaved();
}

void TMainForm::Saveas1Click() {
  auto& s = app_.set;
  if (s.FigureMode) return;
  const auto chosen = dialogs().saveSetFileName(this, lastSaveName_);
  if (!chosen) return;
  lastSaveName_ = *chosen;
  s.SetFileName = toLocal(*chosen);
  ui->FName->setText(*chosen);
  updateTitle();
  saveSet(s, app_.record, s.SetFileName);
  clearUndo();
  markSaved();
  s.StartName = s.SetFileName;
  writeStartupFile(app_.startupPath, s.StartName);
}

void TMainForm::Null00Click() {
  auto& s = app_.set;
  if (s.FigureMode || !s.Stopped) return;
  const SetSnapshot before(s);
  for (int i = 0; i < std::min(s.Count, kMaxParticles); ++i) {
    s.Ux[i] = s.Uy[i] = s.Uz[i] = 0;
    s.Ux1[i] = s.Uy1[i] = s.Uz1[i] = 0;
  }
  clearTrails();
  ui->Null00->setText(QStringLiteral("Yes Null"));
  ui->Null00->setStyleSheet(null00Style());
  fillListing();
  pushChange(QStringLiteral("Velocity Reset"), before);
  Saveas1Click();
}

void TMainForm::Spiral1Click() {
  if (!askSaveChanges()) return;
  const SetSnapshot before(app_.set);
  clearTrails();
  app_.set.FigureMode = true;
  buildFigure(app_.set);
  ui->Go->setEnabled(false);
  ui->Null00->setEnabled(false);
  pushChange(QStringLiteral("Spiral"), before);
  DrawFigure();
}

void TMainForm::Daons1Click() {
  if (!askSaveChanges()) return;
  auto& s = app_.set;
  const SetSnapshot before(s);
  // Whatever the command shows is where the next question starts from, and
  // one Undo takes all of it back.
  struct Done {
    TMainForm* form;
    const SetSnapshot& before;
    ~Done() {
      form->markSaved();
      form->pushChange(QStringLiteral("Taons"), before);
    }
  } done{this, before};
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

// The commentary field holds the file's text, paragraph by paragraph; the
// file's own line ends and its byte-order mark are kept aside, so that text
// nobody touched goes back byte for byte.
void TMainForm::showCommentText(const std::string& utf8) {
  const CommentaryParagraphs split = splitParagraphs(utf8);
  commentSeparators_ = split.separators;
  QString text;
  for (std::size_t i = 0; i < split.paragraphs.size(); ++i) {
    if (i > 0) text += QChar::ParagraphSeparator;
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    text += decode(QByteArrayView(split.paragraphs[i].data(), qsizetype(split.paragraphs[i].size())));
  }
  ui->Comment->setReadOnly(false);
  // Loading the same text is no change.
  if (text != ui->Comment->document()->toRawText()) ui->Comment->setPlainText(text);
}

std::string TMainForm::commentUtf8() const {
  std::vector<std::string> paragraphs;
  for (QTextBlock b = ui->Comment->document()->begin(); b.isValid(); b = b.next())
    paragraphs.push_back(b.text().toUtf8().toStdString());
  return joinParagraphs(paragraphs, commentSeparators_);
}

std::string TMainForm::commentBytes() const {
  const std::string utf8 = commentUtf8();
  // A text read in the old code page goes back in it, unless something typed
  // since has no place there; UTF-8 then keeps every character.
  if (commentEncoding_ != TextEncoding::Utf8)
    if (std::optional<std::string> bytes = encodeText(utf8, commentEncoding_)) return *bytes;
  return (commentHadMark_ ? kByteOrderMark : std::string()) + utf8;
}

void TMainForm::refuseCommentary(const QString& why) {
  commentRefusal_ = why;
  commentSeparators_.clear();
  {
    const QSignalBlocker quiet(ui->Comment);
    ui->Comment->setPlainText(why);
  }
  ui->Comment->setReadOnly(true);
  CommentChanged = false;
}

void TMainForm::loadCommentary() {
  const std::string path = commentaryPath(app_.set.SetFileName);
  const CommentaryRead read = readCommentary(path);
  if (read.state == CommentaryRead::State::Refused) {
    refuseCommentary(fromLocal(read.why));
    return;
  }
  if (read.state == CommentaryRead::State::Missing) {
    // The field keeps its text; a refusal it showed belongs to another file.
    if (!commentRefusal_.isEmpty()) {
      commentRefusal_.clear();
      showCommentText("No Comment");
      savedComment_ = commentBytes();
    }
    return;
  }
  commentRefusal_.clear();
  std::string bytes = read.bytes;
  // A mark is one only before UTF-8; before a code-page text they are letters.
  commentHadMark_ = bytes.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0 &&
                    detectEncoding(bytes.substr(kByteOrderMark.size())) == TextEncoding::Utf8;
  if (commentHadMark_) bytes.erase(0, kByteOrderMark.size());
  commentEncoding_ = detectEncoding(bytes);
  showCommentText(decodeText(bytes, commentEncoding_));
  savedComment_ = read.bytes;
}

void TMainForm::CommentChange() { CommentChanged = true; }

void TMainForm::CommentExit() {
  if (!CommentChanged) return;
  CommentChanged = false;
  if (!commentRefusal_.isEmpty()) return;  // that file is never written
  if (!dialogs().confirm(this, QStringLiteral("Confirm"), QStringLiteral("The text was changed. Save now?"))) return;
  saveComment();
}

void TMainForm::saveComment() {
  if (!commentRefusal_.isEmpty()) return;
  const std::string bytes = commentBytes();
  saveCommentaryBytes(commentaryPath(app_.set.SetFileName), bytes);
  // A text that no longer fits its code page was written as UTF-8 and stays so.
  if (commentEncoding_ != TextEncoding::Utf8 && !encodeText(commentUtf8(), commentEncoding_))
    commentEncoding_ = TextEncoding::Utf8;
  savedComment_ = bytes;
}

void TMainForm::commentCloseCheck() {
  CommentChanged = false;
  if (!commentRefusal_.isEmpty() || commentBytes() == savedComment_) return;
  if (!dialogs().confirm(this, QStringLiteral("Confirm"), QStringLiteral("The text was changed. Save now?"))) return;
  saveComment();
}
