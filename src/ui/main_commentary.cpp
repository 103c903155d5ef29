// The commentary field and its file.
#include "main_commentary.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStringDecoder>
#include <QTextBlock>
#include <utility>

#include "dialogs.h"
#include "error_box.h"
#include "files/commentary.h"

using namespace zentrova;

namespace {

const std::string kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

MainCommentary::MainCommentary(TMainForm& form) : MainPart(form) {
  saved_ = bytes();
  connect(ui_.Comment, &QPlainTextEdit::textChanged, this, [this] { runGuarded([this] { CommentChange(); }); });
}

// The commentary field holds the file's text, paragraph by paragraph; the
// file's own line ends and its byte-order mark are kept aside, so that text
// nobody touched goes back byte for byte.
void MainCommentary::showText(const std::string& utf8) {
  const CommentaryParagraphs split = splitParagraphs(utf8);
  separators_ = split.separators;
  QString text;
  for (std::size_t i = 0; i < split.paragraphs.size(); ++i) {
    if (i > 0) text += QChar::ParagraphSeparator;
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    text += decode(QByteArrayView(split.paragraphs[i].data(), qsizetype(split.paragraphs[i].size())));
  }
  ui_.Comment->setReadOnly(false);
  // Loading the same text is no change.
  if (text != ui_.Comment->document()->toRawText()) ui_.Comment->setPlainText(text);
}

std::string MainCommentary::utf8() const {
  std::vector<std::string> paragraphs;
  for (QTextBlock b = ui_.Comment->document()->begin(); b.isValid(); b = b.next())
    paragraphs.push_back(b.text().toUtf8().toStdString());
  return joinParagraphs(paragraphs, separators_);
}

std::string MainCommentary::bytes() const {
  const std::string text = utf8();
  // A text read in the old code page goes back in it, unless something typed
  // since has no place there; UTF-8 then keeps every character.
  if (encoding_ != TextEncoding::Utf8)
    if (std::optional<std::string> encoded = encodeText(text, encoding_)) return *encoded;
  return (hadMark_ ? kByteOrderMark : std::string()) + text;
}

void MainCommentary::refuse(const QString& why) {
  refusal_ = why;
  separators_.clear();
  {
    const QSignalBlocker quiet(ui_.Comment);
    ui_.Comment->setPlainText(why);
  }
  ui_.Comment->setReadOnly(true);
  CommentChanged = false;
}

void MainCommentary::load() {
  const std::string path = commentaryPath(app_.set.SetFileName);
  const CommentaryRead read = readCommentary(path);
  if (read.state == CommentaryRead::State::Refused) {
    refuse(windowMessage(fromLocal(read.why)));
    return;
  }
  if (read.state == CommentaryRead::State::Missing) {
    // The field keeps its text; a refusal it showed belongs to another file.
    if (!refusal_.isEmpty()) {
      refusal_.clear();
      showText(TMainForm::tr("No Comment").toStdString());
      saved_ = bytes();
    }
    return;
  }
  refusal_.clear();
  std::string text = read.bytes;
  // A mark is one only before UTF-8; before a code-page text they are letters.
  hadMark_ = text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0 &&
             detectEncoding(text.substr(kByteOrderMark.size())) == TextEncoding::Utf8;
  if (hadMark_) text.erase(0, kByteOrderMark.size());
  encoding_ = detectEncoding(text);
  showText(decodeText(text, encoding_));
  saved_ = read.bytes;
}

void MainCommentary::CommentChange() { CommentChanged = true; }

void MainCommentary::CommentExit() {
  if (!CommentChanged) return;
  CommentChanged = false;
  if (!refusal_.isEmpty()) return;  // that file is never written
  if (!dialogs().confirm(&form_, TMainForm::tr("Confirm"), TMainForm::tr("The text was changed. Save now?")))
    return;
  save();
}

void MainCommentary::askBeforeRun() {
  if (std::exchange(askOnGo_, false)) runGuarded([this] { CommentExit(); });
}

void MainCommentary::save() {
  if (!refusal_.isEmpty()) return;
  const std::string written = bytes();
  saveCommentaryBytes(commentaryPath(app_.set.SetFileName), written);
  // A text that no longer fits its code page was written as UTF-8 and stays so.
  if (encoding_ != TextEncoding::Utf8 && !encodeText(utf8(), encoding_)) encoding_ = TextEncoding::Utf8;
  saved_ = written;
}

void MainCommentary::closeCheck() {
  CommentChanged = false;
  if (!refusal_.isEmpty() || bytes() == saved_) return;
  if (!dialogs().confirm(&form_, TMainForm::tr("Confirm"), TMainForm::tr("The text was changed. Save now?")))
    return;
  save();
}
