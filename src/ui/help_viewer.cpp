#include "help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "TAboutBox.h"

#ifndef ZENTROVA_DATA_DIR
#define ZENTROVA_DATA_DIR "share/zentrova"
#endif

namespace {

QStringList& folderOverride() {
  static QStringList folders;
  return folders;
}

QPointer<HelpViewer>& theViewer() {
  static QPointer<HelpViewer> viewer;
  return viewer;
}

const QString kContentsAnchor = QStringLiteral("contents");

}  // namespace

QStringList defaultHelpFolders() {
  const QString programDir = QCoreApplication::applicationDirPath();
  return {programDir, QDir::cleanPath(programDir + QStringLiteral("/../share/zentrova/help")),
          QStringLiteral(ZENTROVA_DATA_DIR "/help")};
}

void setHelpFolders(const QStringList& folders) { folderOverride() = folders; }

QStringList helpFolders() { return folderOverride().isEmpty() ? defaultHelpFolders() : folderOverride(); }

QString findHelpFile(const QString& helpFileName, const QStringList& folders) {
  for (const QString& folder : folders) {
    if (folder.isEmpty()) continue;
    const QFileInfo candidate(QDir(folder), helpFileName);
    if (candidate.isFile() && candidate.isReadable()) return candidate.absoluteFilePath();
  }
  return {};
}

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpViewer"));
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowIcon(programIcon());
  setWindowTitle(tr("Zentrova Help"));

  auto makeButton = [this](const QString& name, const QString& text, QStyle::StandardPixmap pixmap) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(text);
    button->setIcon(style()->standardIcon(pixmap));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
  };
  contents_ = makeButton(QStringLiteral("ContentsButton"), tr("Contents"), QStyle::SP_DirHomeIcon);
  back_ = makeButton(QStringLiteral("BackButton"), tr("Back"), QStyle::SP_ArrowBack);
  forward_ = makeButton(QStringLiteral("ForwardButton"), tr("Forward"), QStyle::SP_ArrowForward);
  back_->setShortcut(QKeySequence::Back);
  forward_->setShortcut(QKeySequence::Forward);

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(false);
  browser_->setOpenLinks(true);

  auto* bar = new QHBoxLayout;
  bar->addWidget(contents_);
  bar->addWidget(back_);
  bar->addWidget(forward_);
  bar->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(bar);
  layout->addWidget(browser_, 1);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  contents_->setEnabled(false);
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents_, &QToolButton::clicked, this, &HelpViewer::goContents);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Zentrova Help") : title);
  });
  resize(760, 560);
}

void HelpViewer::showContents(const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
  const bool otherFile = file != currentFile_;
  currentFile_ = file;
  contents_->setEnabled(true);
  goContents();
  if (otherFile) browser_->clearHistory();  // Back and Forward stay inside one manual
}

void HelpViewer::goContents() {
  if (currentFile_.isEmpty()) return;
  QUrl url = QUrl::fromLocalFile(currentFile_);
  url.setFragment(kContentsAnchor);
  browser_->setSource(url, QTextDocument::HtmlResource);
  browser_->scrollToAnchor(kContentsAnchor);
}

QString HelpViewer::notFoundText(const QString& helpFileName) {
  return tr("The help file \"%1\" was not found.").arg(helpFileName);
}

void HelpViewer::showNotFound(const QString& helpFileName, const QStringList& folders) {
  currentFile_.clear();
  contents_->setEnabled(false);
  browser_->clearHistory();
  QString html = QStringLiteral("<html><head><title>") + tr("Zentrova Help").toHtmlEscaped() +
                 QStringLiteral("</title></head><body><h2>") + notFoundText(helpFileName).toHtmlEscaped() +
                 QStringLiteral("</h2><p>") + tr("It was looked for in these folders:").toHtmlEscaped() +
                 QStringLiteral("</p><ul>");
  for (const QString& folder : folders) html += QStringLiteral("<li><tt>") + folder.toHtmlEscaped() + QStringLiteral("</tt></li>");
  html += QStringLiteral("</ul><p>") + tr("Reinstalling the program puts the manuals back in place.").toHtmlEscaped() +
          QStringLiteral("</p></body></html>");
  browser_->setHtml(html);
  setWindowTitle(tr("Zentrova Help"));
}

HelpViewer* helpViewer() { return theViewer().data(); }

void showHelpContents(QWidget* owner, const QString& helpFileName) {
  QPointer<HelpViewer>& viewer = theViewer();
  if (!viewer) viewer = new HelpViewer(owner ? owner->window() : nullptr);
  const QStringList folders = helpFolders();
  const QString path = findHelpFile(helpFileName, folders);
  if (path.isEmpty())
    viewer->showNotFound(helpFileName, folders);
  else
    viewer->showContents(path);
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
}
