#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "TAboutBox.h"
#include "TEditDlg.h"
#include "TRecordDlg.h"

#include "analysis/observable_table.h"
#include "help_viewer.h"
#include "language.h"
#include "monitor_controls.h"
#include "observable_texts.h"

#include "files/set_file.h"
#include "main_parameters.h"
#include "main_window_fixture.h"

using namespace zentrova;

namespace {

// A set with particles 1 and 3 present and recognisable values.
std::string writeSampleSet(const std::string& path) {
  ParticleSet s;
  s.Count = 60;
  s.Dt = 0.01L;
  s.A1 = 1;
  s.B1 = 2.718L;
  s.A2 = 1;
  s.B2 = 0.3L;
  s.C2 = 0.671L;
  s.D2 = 1.2L;
  s.A3 = 1;
  s.B3 = 0.3L;
  s.C3 = 0.671L;
  s.D3 = 120;
  s.setPresent(1, true);
  s.X[0] = 0.5L;
  s.Y[0] = -2.5L;
  s.Z[0] = 1e-6L;
  s.Ux[0] = 7;
  s.Present[2] = 5;  // any non-zero byte means present
  s.X[2] = 3;
  ParticleRecord r;
  saveSet(s, r, path);
  return path;
}

// The labels and buttons of a window whose caption is not drawn whole.
std::string cutCaptions(const QWidget& window) {
  QStringList cut;
  const auto check = [&](const QWidget* w, const QString& text, QSize need, QRect room) {
    if (need.width() > room.width() || need.height() > room.height())
      cut << QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                 .arg(w->objectName(), text)
                 .arg(need.width())
                 .arg(need.height())
                 .arg(room.width())
                 .arg(room.height());
  };
  // Heights count the ink: a label may be lower than the font's line.
  const auto inkHeight = [](const QWidget* w, const QString& text) {
    return w->fontMetrics().tightBoundingRect(text).height();
  };
  for (const QLabel* l : window.findChildren<QLabel*>()) {
    if (!l->isVisibleTo(&window) || l->text().isEmpty()) continue;
    const QSize need = l->wordWrap() ? QSize(l->width(), l->heightForWidth(l->width()))
                                     : QSize(l->sizeHint().width(), inkHeight(l, l->text()));
    check(l, l->text(), need, l->rect());
  }
  // The fields that show the groups' ranges hold a fixed caption.
  for (const char* name : {"Edit1", "Edit2", "Edit3"}) {
    const auto* e = window.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!e) continue;
    const QSize need(e->fontMetrics().horizontalAdvance(e->text()) + 8, inkHeight(e, e->text()));
    check(e, e->text(), need, e->rect());
  }
  for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
    if (!b->isVisibleTo(&window) || b->text().isEmpty() || !b->parentWidget()->inherits("QWidget") ||
        b->inherits("QTableCornerButton"))
      continue;
    const QFontMetrics fm = b->fontMetrics();
    const QString text = QString(b->text()).remove(QLatin1Char('&'));
    QSize need(fm.horizontalAdvance(text), inkHeight(b, text));
    if (!b->icon().isNull()) need.rwidth() += b->iconSize().width() + 4;
    QRect room = b->rect();
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    if (qobject_cast<const QCheckBox*>(b)) {
      room = b->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, b);
    } else if (qobject_cast<const QRadioButton*>(b)) {
      room = b->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, b);
    } else if (qobject_cast<const QPushButton*>(b)) {
      room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    } else {
      room.adjust(2, 2, -2, -2);  // a tool button's frame
    }
    check(b, text, need, room);
  }
  return cut.join(QLatin1Char('\n')).toStdString();
}

}  // namespace

TEST_F(MainWindowTest, StartsWithTheSetTheStartupFileNames) {
  const std::string set = writeSampleSet(dir + "/cube.lis1");
  writeFile(dir + "/cube..txt", "first line\nsecond");
  pointStartupAt(set);
  auto& w = open();
  EXPECT_EQ(w.windowTitle(), "cube.lis1 \u2014 Zentrova");
  EXPECT_FALSE(app.set.FigureMode);
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_EQ(app.set.Count, 60);
  EXPECT_TRUE(ui().Go->isEnabled());
  EXPECT_EQ(ui().FName->text().toStdString(), set);
  EXPECT_EQ(cell(0, 1), "X");
  EXPECT_EQ(cell(1, 0), "1");
  EXPECT_EQ(cell(60, 0), "60");
  EXPECT_EQ(cell(1, 1), num("0.5"));
  EXPECT_EQ(cell(1, 2), num("-2.5"));
  EXPECT_EQ(cell(1, 3), "1E-6");
  EXPECT_EQ(cell(2, 1), "");
  EXPECT_EQ(cell(3, 1), "3");
  EXPECT_EQ(ui().EditDT->text(), num("0.01"));
  EXPECT_EQ(ui().EditB1->text(), num("2.718"));
  EXPECT_EQ(ui().EditD3->text(), "120");
  EXPECT_EQ(ui().Comment->toPlainText(), "first line\nsecond");
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(app.view.AngleStep, 0.01L);
  EXPECT_EQ(app.view.ZoomStep, 3.0L);
  EXPECT_EQ(app.view.Distance, 120.0L);
}

TEST_F(MainWindowTest, WithoutStartupFileCreatesItAndShowsTheSpiral) {
  open();
  // First shown in the middle of the screen, at its fixed outer size.
  const QRect screen = window->screen()->availableGeometry();
  EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 2);
  EXPECT_TRUE(app.set.FigureMode);
  EXPECT_EQ(app.set.SetFileName, "ThetraSpiral");
  EXPECT_EQ(ui().FName->text(), "File Name");
  EXPECT_FALSE(ui().Go->isEnabled());
  EXPECT_TRUE(std::filesystem::exists(app.startupPath));
  EXPECT_EQ(std::filesystem::file_size(app.startupPath), 0u);
  EXPECT_EQ(cell(60, 0), "60");
  EXPECT_EQ(cell(1, 1), "");
  EXPECT_EQ(ui().EditDT->text(), "0");
  EXPECT_EQ(ui().EditB2->text(), "0");
  EXPECT_NE(app.set.DrawX[1], 0.0L);  // spiral point 2 at (1, 0, 0)
}

TEST_F(MainWindowTest, MissingNamedSetFallsBackToTheEasySquare) {
  pointStartupAt(dir + "/gone.lis1");
  open();
  EXPECT_FALSE(app.set.FigureMode);
  EXPECT_EQ(ui().FName->text(), "The easy square");
  EXPECT_EQ(app.set.SetFileName, dir + "/gone.lis1");
  EXPECT_TRUE(ui().Go->isEnabled());
  EXPECT_EQ(cell(1, 1), num("0.212"));
  EXPECT_EQ(cell(4, 3), num("-0.212"));
  EXPECT_EQ(cell(5, 1), "");
  EXPECT_EQ(ui().EditB1->text(), num("2.718"));
}

TEST_F(MainWindowTest, ShortSetIsReportedAndStartUpStillFinishes) {
  writeFile(dir + "/short.lis1", std::string(3783, '\0'));
  pointStartupAt(dir + "/short.lis1");
  open();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "Read beyond end of file.");
  EXPECT_TRUE(app.set.Stopped);
  EXPECT_EQ(app.view.AngleStep, 0.01L);
}

TEST_F(MainWindowTest, StartupFileWithLineEndsKeepsTheRule) {
  const std::string set = writeSampleSet(dir + "/a.lis1");
  writeFile(app.startupPath, set + "\r\nignored");
  open();
  EXPECT_EQ(app.set.StartName, set);
  EXPECT_EQ(cell(1, 1), num("0.5"));
}

TEST_F(MainWindowTest, ListingDoubleClickSwitchesToVelocitiesAndBack) {
  pointStartupAt(writeSampleSet(dir + "/a.lis1"));
  open();
  const QPoint at = ui().DaonsTable->visualItemRect(ui().DaonsTable->item(1, 1)).center();
  QTest::mouseClick(ui().DaonsTable->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(ui().DaonsTable->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(cell(0, 1), "u(x)");
  EXPECT_EQ(cell(0, 3), "u(z)");
  EXPECT_EQ(cell(1, 1), "7");
  EXPECT_EQ(cell(2, 1), "");
  window->DaonsTableDblClick();
  EXPECT_EQ(cell(0, 2), "Y");
  EXPECT_EQ(cell(1, 1), num("0.5"));
}

TEST_F(MainWindowTest, EditDtFiltersKeysAndStoresWhenLeft) {
  pointStartupAt(writeSampleSet(dir + "/a.lis1"));
  auto& w = open();
  auto* edit = ui().EditDT;
  edit->setFocus();
  edit->clear();
  QTest::keyClicks(edit, num("a-0.5 x"));
  EXPECT_EQ(edit->text(), num("-0.5"));
  ui().EditA1->setFocus();  // leaving the field stores it
  QApplication::processEvents();
  EXPECT_EQ(app.set.Dt, -0.5L);

  edit->setFocus();
  edit->setText(num("1.2.3"));
  ui().EditA1->setFocus();
  QApplication::processEvents();
  ASSERT_EQ(errors.size(), 1);
  // The refused text gives way to the value in force, which the box names.
  EXPECT_EQ(errors[0], "'" + num("1.2.3") + "' is not a valid floating point value; dt stays " + num("-0.5") + ".");
  EXPECT_EQ(app.set.Dt, -0.5L);
  EXPECT_EQ(edit->text(), num("-0.5"));

  // Either decimal separator is read; a field left as the window wrote it
  // keeps every bit of its value.
  edit->setFocus();
  edit->setText("0.25");
  ui().EditA1->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(app.set.Dt, 0.25L);
  app.set.B2 = 1.0L / 3;
  w.parameters().show();
  ui().EditB2->setFocus();
  ui().EditA1->setFocus();
  QApplication::processEvents();
  EXPECT_EQ(app.set.B2, 1.0L / 3);
  EXPECT_EQ(errors.size(), 1);
}

TEST_F(MainWindowTest, ExitClosesTheWindow) {
  auto& w = open();
  EXPECT_TRUE(w.isVisible());
  ui().Exit1->trigger();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(ui().Exit1->shortcut(), QKeySequence("Alt+X"));
}

TEST_F(MainWindowTest, MenusCarryTheirShortcutsAndManagerStaysHidden) {
  open();
  EXPECT_EQ(ui().New1->shortcut(), QKeySequence(Qt::Key_F2));
  EXPECT_EQ(ui().Open1->shortcut(), QKeySequence(Qt::Key_F3));
  EXPECT_EQ(ui().Save1->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(ui().Daons1->shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_EQ(ui().RusHelp->shortcut(), QKeySequence("Ctrl+F1"));
  EXPECT_EQ(ui().PolHelp->shortcut(), QKeySequence("Shift+F1"));
  EXPECT_FALSE(ui().Manager1->menuAction()->isVisible());
  EXPECT_EQ(ui().Left1->shortcut(), QKeySequence("Ctrl+Left"));
}

// A set the view cannot draw is reported once; repaints that fail again stay
// silent, and the window goes on answering its commands.
TEST_F(MainWindowTest, SetThatCannotBeDrawnIsReportedOnce) {
  ParticleSet s;
  s.Count = 60;
  s.setPresent(1, true);
  s.X[0] = 1e20L;
  ParticleRecord r;
  saveSet(s, r, dir + "/far.lis1");
  pointStartupAt(dir + "/far.lis1");
  // A real box runs the event loop while it is up; the window may be resized
  // meanwhile.
  setErrorSink([this](const QString& m) {
    errors << m;
    window->resize(window->width() + 1, window->height());
    QApplication::processEvents();
  });
  open();
  ASSERT_EQ(errors.size(), 1);
  for (int i = 0; i < 3; ++i) {  // the box closes and uncovers the view
    window->hide();
    window->show();
    QApplication::processEvents();
  }
  EXPECT_EQ(errors.size(), 1);
  ui().MoveToCenter->trigger();  // a command that draws reports again, once
  window->hide();
  window->show();
  QApplication::processEvents();
  EXPECT_EQ(errors.size(), 2);
  // Open still works, and a drawable set is drawn.
  dlg.openAnswers.push_back(QString::fromStdString(writeSampleSet(dir + "/cube.lis1")));
  ui().Open1->trigger();
  QApplication::processEvents();
  EXPECT_EQ(errors.size(), 2);
  EXPECT_EQ(cell(1, 1), num("0.5"));
}

// Every label and button of the windows shows its whole caption in each
// language, with the longest texts the program puts there; the listing keeps
// its header row and number column in view.
TEST_F(MainWindowTest, EveryCaptionFitsAndTheListingKeepsItsHeaders) {
  pointStartupAt(writeSampleSet(dir + "/a.lis1"));
  for (const char* language : {"en", "pl", "ru"}) {
    SCOPED_TRACE(language);
    ASSERT_TRUE(installLanguage(QString::fromLatin1(language)));
    open();
    ui().LTime->setText("12345678");
    ui().Null00->setText(QCoreApplication::translate("TMainForm", "Yes Null"));
    EXPECT_EQ(cutCaptions(*window), "");
    ui().Go->setText(QCoreApplication::translate("TMainForm", "Stop"));
    EXPECT_EQ(cutCaptions(*window), "");
    TEditDlg editor(app, [] { return false; });
    editor.show();
    EXPECT_EQ(cutCaptions(editor), "");
    TAboutBox about;
    about.show();
    EXPECT_EQ(cutCaptions(about), "");
    TRecordDlg record(RecordingChoice{});
    record.show();
    EXPECT_EQ(cutCaptions(record), "");
    ui().Monitor1->trigger();
    ASSERT_NE(window->monitor(), nullptr);
    EXPECT_EQ(cutCaptions(*window->monitor()), "");
    // The Monitor's words come from the core's table: each has its translation.
    if (windowLanguage() != "en") {
      for (const ObservableColumn& c : observableTable())
        EXPECT_NE(observableText(c.description), QString::fromUtf8(c.description)) << c.description;
      EXPECT_FALSE(observableText("not conserved: Cool is on").contains("not conserved"));
    }
    window.reset();
  }
  installLanguage("en");
  open();
  // The unticked box of Cool shows on its black ground; a disabled Null00
  // loses its maroon like any disabled control.
  const QImage cool = ui().Cool->grab().toImage();
  int light = 0;
  for (int y = 0; y < cool.height(); ++y)
    for (int x = 0; x < 16; ++x) light += qGray(cool.pixel(x, y)) > 200;
  EXPECT_GT(light, 40);
  EXPECT_EQ(qGray(cool.pixel(cool.width() - 2, 1)), 0);
  QTimer::singleShot(0, [&] {
    const QImage null = ui().Null00->grab().toImage();
    int maroon = 0;
    for (int y = 0; y < null.height(); ++y)
      for (int x = 0; x < null.width(); ++x) maroon += null.pixelColor(x, y) == QColor(128, 0, 0);
    EXPECT_EQ(maroon, 0);
    ui().Go->click();
  });
  ui().Go->click();
  waitForRunEnd(app);
  TEditDlg editor(app, [] { return false; });
  editor.show();
  const QRect grid = editor.findChild<QTableWidget*>("DaonsTable")->geometry();
  for (const char* name : {"EditA3", "EditB3", "EditC3", "EditD3", "Edit3"})
    EXPECT_FALSE(editor.findChild<QLineEdit*>(name)->geometry().intersects(grid)) << name;

  QTableWidget* listing = ui().DaonsTable;
  listing->verticalScrollBar()->setValue(listing->verticalScrollBar()->maximum());
  QApplication::processEvents();
  const auto shown = [&](Qt::Orientation o, int section) {
    const QHeaderView* h = o == Qt::Horizontal ? listing->horizontalHeader() : listing->verticalHeader();
    return h->isVisible() ? listing->model()->headerData(section, o).toString() : QString();
  };
  EXPECT_EQ(shown(Qt::Horizontal, 1), "X");
  EXPECT_EQ(shown(Qt::Vertical, 60), "60");
  QTest::mouseDClick(listing->horizontalHeader()->viewport(), Qt::LeftButton, {},
                     QPoint(listing->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
  EXPECT_EQ(shown(Qt::Horizontal, 1), "u(x)");
}

namespace {

// What a fresh start of the window makes of the environment (Qt reads the
// locale once a process): this test program started again, with the locale
// variables given and the user's settings in `configHome`. The lines are the
// language, a menu caption and a button of Qt's own message boxes.
QStringList languageAtStart(const QStringList& locale, const QString& configHome) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) env.remove(QString::fromLatin1(name));
  for (const QString& pair : locale) env.insert(pair.section('=', 0, 0), pair.section('=', 1));
  env.insert("XDG_CONFIG_HOME", configHome);
  QProcess child;
  child.setProcessEnvironment(env);
  child.start(QCoreApplication::applicationFilePath(), {"--language-at-start"});
  if (!child.waitForFinished(60000)) return {"did not end"};
  return QString::fromUtf8(child.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

// The window speaks Polish or Russian when the locale asks for it, English
// otherwise, and the language chosen in Help > Language from the next start
// on, whatever the locale; F1 opens the manual in the window's language.
TEST_F(MainWindowTest, TheLanguageFollowsTheLocaleAndTheMenuChoice) {
  const QString config = QString::fromStdString(dir + "/config");
  const QStringList russian = {"ru", QStringLiteral("Открыть"), QStringLiteral("Отмена")};
  const QStringList polish = {"pl", QStringLiteral("Otwórz"), QStringLiteral("Anuluj")};
  const QStringList english = {"en", "Open", "Cancel"};
  EXPECT_EQ(languageAtStart({"LC_ALL=ru_RU.UTF-8"}, config), russian);
  EXPECT_EQ(languageAtStart({"LANG=pl_PL.UTF-8"}, config), polish);
  EXPECT_EQ(languageAtStart({"LANG=ru_RU.UTF-8", "LC_MESSAGES=pl_PL.UTF-8"}, config), polish);
  EXPECT_EQ(languageAtStart({"LANG=pl_PL.UTF-8", "LANGUAGE=ru:pl"}, config), russian);
  EXPECT_EQ(languageAtStart({"LANG=de_DE.UTF-8"}, config), english);
  EXPECT_EQ(languageAtStart({"LC_ALL=C.UTF-8", "LANGUAGE=pl"}, config), english);

  // The choice in the menu, told in the language chosen, is kept for the next start.
  setLanguageSettingsPath(config + "/zentrova/zentrova.conf");
  pointStartupAt(writeSampleSet(dir + "/a.lis1"));
  open();
  auto* menu = ui().Help0->findChild<QMenu*>("LanguageMenu");
  ASSERT_NE(menu, nullptr);
  QStringList names;
  for (QAction* a : menu->actions()) names << a->text();
  EXPECT_EQ(names, QStringList({"English", "Polski", QStringLiteral("Русский")}));
  EXPECT_TRUE(menu->findChild<QAction*>("Language_en")->isChecked());
  menu->findChild<QAction*>("Language_ru")->trigger();
  EXPECT_EQ(dlg.asked.last(), QStringLiteral("info: Zentrova заговорит на этом языке при следующем запуске."));
  EXPECT_EQ(languageAtStart({"LANG=pl_PL.UTF-8"}, config), russian);
  menu->findChild<QAction*>("Language_en")->trigger();  // the language shown: nothing to tell
  EXPECT_EQ(dlg.asked.size(), 1);
  EXPECT_EQ(languageAtStart({"LC_ALL=ru_RU.UTF-8"}, config), english);
  // A choice that cannot be kept is told, and the menu shows the language that is.
  std::filesystem::create_directories(dir + "/blocked.conf");
  setLanguageSettingsPath(QString::fromStdString(dir + "/blocked.conf"));
  menu->findChild<QAction*>("Language_pl")->trigger();
  EXPECT_EQ(errors.size(), 1);
  EXPECT_TRUE(menu->findChild<QAction*>("Language_en")->isChecked());
  setLanguageSettingsPath({});

  setHelpFolders({QDir::cleanPath(QStringLiteral(ZENTROVA_TEST_DATA "/../../help"))});
  // F1 opens the manual of the window's language, from the item that names
  // it; English Help always opens the English one.
  for (const char* language : {"pl", "ru", "en"}) {
    window.reset();
    installLanguage(QString::fromLatin1(language));
    open();
    int withF1 = 0;
    for (QAction* a : window->findChildren<QAction*>()) {
      if (!a->shortcuts().contains(QKeySequence(Qt::Key_F1))) continue;
      ++withF1;
      a->trigger();
      ASSERT_NE(helpViewer(), nullptr);
      EXPECT_EQ(QFileInfo(helpViewer()->currentFile()).fileName(), manualFileName(QString::fromLatin1(language)));
    }
    EXPECT_EQ(withF1, 1);
    ui().Help1->trigger();
    EXPECT_EQ(QFileInfo(helpViewer()->currentFile()).fileName(), QStringLiteral("HlpArtEn.hlp"));
  }
  delete helpViewer();
  setHelpFolders({});
}
