#pragma once
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class QTextBrowser;
class QToolButton;
class QLabel;

// The folders a help file is looked for in, in this order: the program's own
// folder, <program folder>/../share/zentrova/help, and the installed data
// folder's help/.
QStringList defaultHelpFolders();

// Replaces the folders that showHelpContents() searches; an empty list
// restores defaultHelpFolders(). For tests and for relocated installs.
void setHelpFolders(const QStringList& folders);
QStringList helpFolders();

// The full path of the bare file name in the first folder that has it, or an
// empty string.
QString findHelpFile(const QString& helpFileName, const QStringList& folders);

// The program's help window: one manual at a time, with Back, Forward and
// Contents. When the manual cannot be found, the window itself says so.
class HelpViewer : public QWidget {
  Q_OBJECT
 public:
  explicit HelpViewer(QWidget* owner = nullptr);

  // Shows the contents page of the file at the path.
  void showContents(const QString& path);
  // Shows the page that tells that the named file is not in any folder.
  void showNotFound(const QString& helpFileName, const QStringList& folders);

  QString currentFile() const { return currentFile_; }  // empty when not found
  QTextBrowser* browser() const { return browser_; }
  QToolButton* backButton() const { return back_; }
  QToolButton* forwardButton() const { return forward_; }
  QToolButton* contentsButton() const { return contents_; }

  static QString notFoundText(const QString& helpFileName);

 public slots:
  void goContents();

 private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* contents_;
  QString currentFile_;
};

// The one help window, created on first use; nullptr before that or after its
// owner was destroyed.
HelpViewer* helpViewer();

// Looks the bare file name up in helpFolders() and shows its contents page in
// the help window, raised above the owner; or shows in that window that the
// file was not found.
void showHelpContents(QWidget* owner, const QString& helpFileName);
