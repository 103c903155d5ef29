#pragma once
#include <QString>
#include <string>
#include <vector>

#include "files/text_codec.h"
#include "main_part.h"

// The commentary beside the set: its field, its file's text kept byte for
// byte where nobody touched it, and the question to save it.
class MainCommentary : public MainPart {
 public:
  explicit MainCommentary(TMainForm& form);

  // Reads the commentary of the set's file into the field.
  void load();
  void CommentChange();
  void CommentExit();
  void save();
  // At the window's close: an edited commentary is offered for saving.
  void closeCheck();
  bool changed() const { return CommentChanged; }
  // Whether the field may be saved (not when its file was refused).
  bool writable() const { return refusal_.isEmpty(); }
  // The field was left by a click on Go: Go asks the question itself, so that
  // the click is not lost behind the box.
  void leftForGo() { askOnGo_ = true; }
  void askBeforeRun();

 private:
  void refuse(const QString& why);
  // The field's text as the bytes its file would get.
  std::string bytes() const;
  std::string utf8() const;
  void showText(const std::string& utf8);

  bool CommentChanged = false;
  bool askOnGo_ = false;
  // The commentary as last loaded or saved (its bytes), the encoding of its
  // file, and why its file was refused (empty when it was not).
  std::string saved_;
  bool hadMark_ = false;
  std::vector<std::string> separators_;  // the file's own line ends
  QString refusal_;
  zentrova::TextEncoding encoding_ = zentrova::TextEncoding::Utf8;
};
