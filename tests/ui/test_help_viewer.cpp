#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QTranslator>
#include <QWidget>

#include "error_box.h"
#include "help_viewer.h"

namespace {

const QStringList kManuals = {"HlpArtEn.hlp", "HlpArtRu.hlp", "HlpArtPl.hlp"};

QString sourceHelpDir() { return QDir::cleanPath(QStringLiteral(ZENTROVA_TEST_DATA "/../../help")); }

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray readFile(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  return f.readAll();
}

// Each test gets a fresh help window and the default folders back afterwards.
class HelpWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    delete helpViewer();
    setHelpFolders({});
    resetErrorSink();
  }
};

}  // namespace

TEST(HelpLookup, FirstFolderThatHoldsTheFileWins) {
  QTemporaryDir a, b, c;
  ASSERT_TRUE(a.isValid() && b.isValid() && c.isValid());
  writeFile(b.filePath("HlpArtRu.hlp"), "<html>b</html>");
  writeFile(c.filePath("HlpArtRu.hlp"), "<html>c</html>");
  QDir(a.path()).mkdir("HlpArtRu.hlp");  // a folder of that name is not the file

  const QStringList folders = {QString(), a.path(), b.path(), c.path()};
  EXPECT_EQ(findHelpFile("HlpArtRu.hlp", folders), QDir(b.path()).absoluteFilePath("HlpArtRu.hlp"));
  EXPECT_EQ(findHelpFile("HlpArtRu.hlp", {c.path(), b.path()}), QDir(c.path()).absoluteFilePath("HlpArtRu.hlp"));
  EXPECT_TRUE(findHelpFile("HlpArtPl.hlp", folders).isEmpty());
  EXPECT_TRUE(findHelpFile("HlpArtRu.hlp", {}).isEmpty());
}

TEST(HelpLookup, DefaultFoldersAndBuildTreeCopies) {
  const QString programDir = QCoreApplication::applicationDirPath();
  const QStringList folders = defaultHelpFolders();
  ASSERT_EQ(folders.size(), 3);
  EXPECT_EQ(folders[0], programDir);
  EXPECT_EQ(folders[1], QDir::cleanPath(programDir + "/../share/zentrova/help"));
  EXPECT_EQ(folders[2], QStringLiteral(ZENTROVA_DATA_DIR "/help"));
  EXPECT_EQ(helpFolders(), folders);

  // The build puts the manuals beside the programs, so they are found there first.
  for (const QString& name : kManuals) {
    const QString found = findHelpFile(name, folders);
    EXPECT_EQ(found, QDir(programDir).absoluteFilePath(name)) << name.toStdString();
    EXPECT_EQ(readFile(found), readFile(sourceHelpDir() + "/" + name)) << "stale copy of " << name.toStdString();
  }

  setHelpFolders({"/nowhere"});
  EXPECT_EQ(helpFolders(), QStringList{"/nowhere"});
  setHelpFolders({});
  EXPECT_EQ(helpFolders(), folders);
}

TEST_F(HelpWindow, MissingFileIsReportedInTheHelpWindowOnly) {
  QTemporaryDir empty;
  setHelpFolders({empty.path()});
  int errorBoxes = 0;
  setErrorSink([&](const QString&) { ++errorBoxes; });
  QWidget owner;
  owner.show();

  showHelpContents(&owner, "HlpArtRu.hlp");
  HelpViewer* viewer = helpViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_TRUE(viewer->isWindow());
  EXPECT_EQ(viewer->parentWidget(), &owner);
  EXPECT_TRUE(viewer->currentFile().isEmpty());
  const QString text = viewer->browser()->toPlainText();
  EXPECT_TRUE(text.contains(HelpViewer::notFoundText("HlpArtRu.hlp"))) << text.toStdString();
  EXPECT_TRUE(text.contains(empty.path())) << text.toStdString();
  EXPECT_FALSE(viewer->contentsButton()->isEnabled());
  EXPECT_EQ(errorBoxes, 0);
  // Only the owner and the help window are on screen: no message box of its own.
  int shown = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) shown += w->isVisible() ? 1 : 0;
  EXPECT_EQ(shown, 2);

  // Once the file is there, the same window shows it.
  writeFile(QDir(empty.path()).filePath("HlpArtRu.hlp"),
            "<html><body><h1><a name=\"contents\"></a>Found</h1></body></html>");
  showHelpContents(&owner, "HlpArtRu.hlp");
  EXPECT_EQ(helpViewer(), viewer);
  EXPECT_TRUE(viewer->browser()->toPlainText().contains("Found"));
  EXPECT_TRUE(viewer->contentsButton()->isEnabled());
}

TEST_F(HelpWindow, RussianThenPolishShowEachTheirOwnContents) {
  setHelpFolders({sourceHelpDir()});
  showHelpContents(nullptr, "HlpArtRu.hlp");
  HelpViewer* viewer = helpViewer();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->currentFile().endsWith("/HlpArtRu.hlp"));
  EXPECT_EQ(viewer->browser()->source().fragment(), "contents");
  const QString russian = viewer->browser()->toPlainText();
  EXPECT_TRUE(russian.contains(QStringLiteral("Содержание"))) << russian.left(200).toStdString();
  EXPECT_FALSE(russian.contains(QStringLiteral("Spis treści")));

  showHelpContents(nullptr, "HlpArtPl.hlp");
  EXPECT_EQ(helpViewer(), viewer);  // one window, reused
  EXPECT_TRUE(viewer->currentFile().endsWith("/HlpArtPl.hlp"));
  const QString polish = viewer->browser()->toPlainText();
  EXPECT_TRUE(polish.contains(QStringLiteral("Spis treści")));
  EXPECT_FALSE(polish.contains(QStringLiteral("Содержание")));
  EXPECT_FALSE(viewer->backButton()->isEnabled());  // Back does not lead into the other manual

  showHelpContents(nullptr, "HlpArtEn.hlp");
  EXPECT_TRUE(viewer->browser()->toPlainText().contains("Contents"));
}

TEST_F(HelpWindow, BackForwardAndContentsWithinAManual) {
  setHelpFolders({sourceHelpDir()});
  showHelpContents(nullptr, "HlpArtEn.hlp");
  HelpViewer* viewer = helpViewer();
  ASSERT_NE(viewer, nullptr);
  QTextBrowser* browser = viewer->browser();
  const QUrl contents = browser->source();

  QUrl section = contents;
  section.setFragment("file-formats");
  browser->setSource(section);
  EXPECT_EQ(browser->source().fragment(), "file-formats");
  ASSERT_TRUE(viewer->backButton()->isEnabled());
  QTest::mouseClick(viewer->backButton(), Qt::LeftButton);
  EXPECT_EQ(browser->source(), contents);
  ASSERT_TRUE(viewer->forwardButton()->isEnabled());
  QTest::mouseClick(viewer->forwardButton(), Qt::LeftButton);
  EXPECT_EQ(browser->source().fragment(), "file-formats");
  QTest::mouseClick(viewer->contentsButton(), Qt::LeftButton);
  EXPECT_EQ(browser->source().fragment(), "contents");
  EXPECT_TRUE(browser->toPlainText().contains("Contents"));
}

// The three manuals describe the same program: each has the same sections,
// every link inside it leads somewhere, and the keys and file facts are there.
TEST(HelpManuals, EachManualIsCompleteAndItsLinksResolve) {
  const QStringList sections = {
      "contents",      "file-menu",     "file-new",      "file-open",    "file-save",     "file-save-as",
      "file-exit",     "view-menu",     "show-images",   "show-spin",    "show-numbers",  "move-to-center",
      "pan-keys",      "help-menu",     "view-controls", "mouse",        "speed-buttons", "amplitude",
      "run-controls",  "go-stop",       "cool",          "blockade",     "show-listing",  "group-switches",
      "scope-modes",   "time-step",     "null-velocity", "time-counter", "listing",       "commentary",
      "editor",        "distance-calculators",           "force-law",    "parameters-pe", "parameters-pes1",
      "parameters-pes2",                "file-formats",  "lis1-layout",  "commentary-file", "startup-file",
      "edit-menu",     "save-question", "run-menu",      "monitor",      "fit-view",      "trails",
      "export-image"};
  const QStringList facts = {"F1", "F2", "F3", "Ctrl+S", "Alt+X", "F5", "F6", "F7", "F8", "Ctrl+F1", "Shift+F1",
                             "Ctrl+", "3784", "cube..txt", "Start.zent", "XDG_CONFIG_HOME", ".config/zentrova",
                             "A1", "B1", "A2", "D2", "A3", "D3", "dt", "PE - out", "PES1-out", "PES2-out",
                             "Taoscope", "Gravoscope", "3720", "3780", "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Y",
                             "Save changes to", "F9", "Shift+F9", "F10", "Ctrl+M", "Ctrl+T", "Ctrl+E", "Ctrl+R"};
  const QRegularExpression anchorName(R"((?:name|id)\s*=\s*"([^"]+)\")");
  const QRegularExpression localLink(R"(href\s*=\s*"#([^"]*)\")");
  for (const QString& manual : kManuals) {
    SCOPED_TRACE(manual.toStdString());
    const QString html = QString::fromUtf8(readFile(sourceHelpDir() + "/" + manual));
    ASSERT_FALSE(html.isEmpty());
    EXPECT_TRUE(html.contains("charset=\"utf-8\"", Qt::CaseInsensitive) || html.contains("charset=utf-8", Qt::CaseInsensitive));
    QSet<QString> anchors;
    for (auto it = anchorName.globalMatch(html); it.hasNext();) anchors.insert(it.next().captured(1));
    for (const QString& s : sections) EXPECT_TRUE(anchors.contains(s)) << "missing section " << s.toStdString();
    for (auto it = localLink.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      EXPECT_TRUE(anchors.contains(target)) << "broken link #" << target.toStdString();
    }
    for (const QString& f : facts) EXPECT_TRUE(html.contains(f)) << "no mention of " << f.toStdString();
    EXPECT_FALSE(html.contains("http://") || html.contains("https://"));
  }
}

// A reader of the Polish or Russian manual looks for the captions the window
// shows in that language, so the manual must name them as translated.
TEST(HelpManuals, TranslatedManualsNameTheTranslatedCaptions) {
  const QList<QPair<const char*, const char*>> captions = {
      {"TMainForm", "File"},        {"TMainForm", "View"},         {"TMainForm", "Run"},
      {"TMainForm", "Help"},        {"TMainForm", "Open"},         {"TMainForm", "Save As ..."},
      {"TMainForm", "Go"},          {"TMainForm", "Cool"},         {"TMainForm", "Show Numbers of Points"},
      {"TMainForm", "Fit to View"}, {"TMainForm", "Keep in View"}, {"TMainForm", "Step Once"},
      {"TMainForm", "Trails"},      {"TMainForm", "Gravoscope"},   {"TMainForm", "PES1-out"},
      {"TMainForm", "Keyboard"},    {"TMonitor", "Save CSV ..."},  {"TMonitor", "Compare with CSV ..."},
      {"TEditDlg", "Calculate 1"},  {"HelpViewer", "Back"},        {"TRecordDlg", "A frame every"}};
  for (const auto& [code, manual] : {std::pair{"pl", "HlpArtPl.hlp"}, std::pair{"ru", "HlpArtRu.hlp"}}) {
    SCOPED_TRACE(manual);
    QTranslator translator;
    ASSERT_TRUE(translator.load(QStringLiteral(":/i18n/zentrova_") + QLatin1String(code)));
    const QString html = QString::fromUtf8(readFile(sourceHelpDir() + "/" + QLatin1String(manual)));
    for (const auto& [context, source] : captions) {
      const QString shown = translator.translate(context, source).remove(QLatin1Char('&'));
      ASSERT_FALSE(shown.isEmpty()) << source;
      EXPECT_TRUE(html.contains(shown)) << source << " is shown as " << shown.toStdString();
    }
  }
}
