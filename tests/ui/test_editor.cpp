#include <gtest/gtest.h>

#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "TEditDlg.h"
#include "dialogs.h"
#include "error_box.h"
#include "editor_controls.h"
#include "files/set_file.h"

namespace {

// Answers the save dialog with a queued name (or a cancel) and records the
// name it was offered.
class ScriptedDialogs : public DialogProvider {
 public:
  std::optional<QString> answer;
  QStringList offered;
  std::optional<QString> openSetFileName(QWidget*, const QString&) override { return std::nullopt; }
  std::optional<QString> saveSetFileName(QWidget*, const QString& lastName) override {
    offered << lastName;
    return answer;
  }
  bool confirm(QWidget*, const QString&, const QString&) override { return false; }
  void information(QWidget*, const QString&) override {}
  SaveAnswer saveChanges(QWidget*, const QString&) override { return SaveAnswer::Discard; }
  int execModal(QDialog* d) override { return d->exec(); }
};

QString num(const char* text) {
  QString s = QString::fromLatin1(text);
  s.replace(QLatin1Char('.'), QLatin1Char(decimalSeparator()));
  return s;
}

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setDialogProvider(&provider);
    setErrorSink([this](const QString& m) { errors << m; });
    app.startupPath = toLocal(dir.filePath("Start.zent"));
    auto& s = app.set;
    s.Count = 60;
    s.SetFileName = "old.lis1";
    s.StartName = "old.lis1";
    s.Dt = 0.01L;
    s.A1 = 1, s.B1 = 1, s.A2 = 1, s.B2 = 0.3L, s.C2 = 0.671L, s.D2 = 1.2L;
    s.A3 = 1, s.B3 = 0.3L, s.C3 = 0.671L, s.D3 = 1.2L;
    for (int i = 1; i <= 4; ++i) {
      s.setPresent(i, true);
      s.X[i - 1] = s.DrawX[i - 1] = s.X1[i - 1] = i;
      s.Ux[i - 1] = s.Ux1[i - 1] = -i;
    }
    s.X[0] = 1, s.Y[0] = 2, s.Z[0] = 2;  // particles 1 and 2 lie 5 apart
    s.X[1] = 4, s.Y[1] = 6, s.Z[1] = 2;
    dlg = std::make_unique<TEditDlg>(app, [this] { return taoscope; });
    controls = std::make_unique<EditorControls>(*dlg);
    dlg->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  }
  void TearDown() override {
    controls.reset();
    dlg.reset();
    setDialogProvider(nullptr);
    resetErrorSink();
  }
  EditorControls& f() { return *controls; }
  void selectParticle(int n) { f().DaonsTable->setCurrentCell(n - 1, 1); }
  void setText(QLineEdit* e, const QString& t) { e->setText(t); }

  QTemporaryDir dir;
  ScriptedDialogs provider;
  QStringList errors;
  AppState app;
  bool taoscope = false;
  std::unique_ptr<TEditDlg> dlg;
  std::unique_ptr<EditorControls> controls;
};

TEST_F(EditorTest, ShowingLoadsEveryFieldAndTheGrid) {
  EXPECT_EQ(f().EditFileName->text(), "old.lis1");
  EXPECT_EQ(f().EditDT->text(), num("0.01"));
  EXPECT_EQ(f().EditB2->text(), num("0.3"));
  EXPECT_EQ(f().NumberOfTaon->text(), "1");
  EXPECT_EQ(f().EditX->text(), "1");
  EXPECT_EQ(f().EditV->text(), "-1");
  EXPECT_TRUE(f().DaoTrue->isChecked());
  EXPECT_EQ(dlg->gridText(0, 0), "Gravons");
  EXPECT_EQ(dlg->gridText(1, 0), "X");
  EXPECT_EQ(dlg->gridText(0, 60), "60");
  EXPECT_EQ(dlg->gridText(2, 2), "6");
  EXPECT_EQ(dlg->gridText(1, 5), "");  // absent
  EXPECT_EQ(dlg->windowTitle(), " Editing of gravon's or taon's values");
  EXPECT_EQ(dlg->size(), QSize(763, 449));
}

TEST_F(EditorTest, HeaderCellFollowsTheMainWindowMode) {
  taoscope = true;
  dlg->fillEditorGrid();
  EXPECT_EQ(dlg->gridText(0, 0), "Taons");
  taoscope = false;
  dlg->fillEditorGrid();
  EXPECT_EQ(dlg->gridText(0, 0), "Gravons");
}

TEST_F(EditorTest, DoubleClickTogglesVelocitiesAndBack) {
  dlg->DaonsTableDblClick();
  EXPECT_EQ(dlg->gridText(0, 0), "Velo");
  EXPECT_EQ(dlg->gridText(1, 0), "u(x)");
  EXPECT_EQ(dlg->gridText(1, 3), "-3");
  dlg->DaonsTableDblClick();
  EXPECT_EQ(dlg->gridText(1, 0), "X");
  EXPECT_EQ(dlg->gridText(1, 3), "3");
}

TEST_F(EditorTest, SelectingARowLoadsThatParticle) {
  selectParticle(3);
  EXPECT_EQ(f().NumberOfTaon->text(), "3");
  EXPECT_EQ(f().EditX->text(), "3");
  EXPECT_EQ(f().EditV->text(), "-3");
  selectParticle(7);
  EXPECT_FALSE(f().DaoTrue->isChecked());
  // The fixed number column does not take the selection.
  f().DaonsTable->setCurrentCell(9, 0);
  EXPECT_EQ(f().DaonsTable->currentColumn(), 1);
  EXPECT_EQ(f().NumberOfTaon->text(), "10");
}

TEST_F(EditorTest, SubmitWritesLiveArraysOnlyAndCancelRestoresThem) {
  selectParticle(3);
  setText(f().EditX, num("1.5"));
  setText(f().EditV, "7");  // u(x)
  setText(f().EditU, "8");  // u(y)
  f().Submit->click();
  const auto& s = app.set;
  EXPECT_EQ(s.X[2], 1.5L);
  EXPECT_EQ(s.Ux[2], 7);
  EXPECT_EQ(s.Uy[2], 8);
  EXPECT_EQ(s.X1[2], 3);
  EXPECT_EQ(s.DrawX[2], 3);
  EXPECT_EQ(s.Ux1[2], -3);
  EXPECT_EQ(dlg->gridText(1, 3), num("1.5"));

  // Made absent: keeps its number, loses its values in the grid.
  f().DaoTrue->setChecked(false);
  f().Submit->click();
  EXPECT_FALSE(s.present(3));
  EXPECT_EQ(dlg->gridText(0, 3), "3");
  EXPECT_EQ(dlg->gridText(1, 3), "");

  f().EditDT->setText("5");
  provider.answer = dir.filePath("copy.lis1");
  f().Saveas->click();  // stores the parameters too
  EXPECT_EQ(s.Dt, 5);

  // Cancel leaves the set as the dialog found it.
  f().CancelBtn->click();
  EXPECT_EQ(dlg->result(), QDialog::Rejected);
  EXPECT_EQ(s.X[2], 3);
  EXPECT_EQ(s.Ux[2], -3);
  EXPECT_EQ(s.Uy[2], 0);
  EXPECT_TRUE(s.present(3));
  EXPECT_EQ(s.Dt, 0.01L);
  EXPECT_EQ(s.X1[2], 3);
  EXPECT_TRUE(errors.isEmpty());
}

// A value the program puts in a field is shown from its first character.
TEST_F(EditorTest, FieldsShowTheirTextFromTheStart) {
  app.set.X[4] = -1.00331152253367E-19L;
  app.set.setPresent(5, true);
  selectParticle(5);
  EXPECT_EQ(f().EditX->cursorPosition(), 0);
  EXPECT_EQ(f().EditX->text(), num("-1.00331152253367E-19"));
  f().EditCal1Part1->setText("1");
  f().EditCal1Part2->setText("2");
  f().Calculate1->click();
  EXPECT_EQ(f().EditResult1->cursorPosition(), 0);
}

// Values that need more than the 15 digits shown come back bit for bit from
// fields nobody edited; an edited field is read from its text, with either
// the locale's separator or a full stop.
TEST_F(EditorTest, UntouchedFieldsKeepTheirExactValues) {
  auto& s = app.set;
  s.X[1] = 3.80422606518061420948L, s.Y[1] = -1.0L / 3, s.Z[1] = 1.23606797749978969643L;
  s.Uy[1] = 1.0e-19L / 7;
  s.Dt = 0.01L / 3, s.B2 = 1.0L / 3, s.D3 = 1.41421356237309504876L;
  const QString before = dir.filePath("before.lis1"), after = dir.filePath("after.lis1");
  zentrova::saveSet(s, app.record, toLocal(before));
  dlg->hide();
  dlg->show();
  selectParticle(2);
  f().Submit->click();
  provider.answer = after;
  f().Saveas->click();
  ASSERT_TRUE(errors.isEmpty());
  EXPECT_EQ(fileBytes(after), fileBytes(before));

  // Only the edited field is read from its text.
  setText(f().EditX, "2.5");
  setText(f().EditDT, num("0.5"));
  f().Submit->click();
  f().Saveas->click();
  ASSERT_TRUE(errors.isEmpty());
  EXPECT_EQ(s.X[1], 2.5L);
  EXPECT_EQ(s.Y[1], -1.0L / 3);
  EXPECT_EQ(s.Z[1], 1.23606797749978969643L);
  EXPECT_EQ(s.Uy[1], 1.0e-19L / 7);
  EXPECT_EQ(s.Dt, 0.5L);
  EXPECT_EQ(s.B2, 1.0L / 3);
  EXPECT_EQ(s.D3, 1.41421356237309504876L);

  // A refused text is reported as it was typed.
  setText(f().EditX, "1.5,5");
  f().Submit->click();
  EXPECT_EQ(errors, QStringList{"'1.5,5' is not a valid floating point value."});
}

// The charts are drawn for the parameters in the fields and the selected
// particle's group, and follow what is typed.
TEST_F(EditorTest, ForceChartsFollowTheParametersAndTheParticlesGroup) {
  const QImage first = f().Image1->pixmap().toImage();
  ChartLaws laws = dlg->chartLaws();
  EXPECT_EQ(laws.pesGroup, 2);
  EXPECT_EQ(laws.b, 0.3L);
  EXPECT_EQ(laws.d, 1.2L);
  f().EditA1->clear();
  QTest::keyClicks(f().EditA1, "3");
  EXPECT_EQ(dlg->chartLaws().a1, 3);
  EXPECT_NE(f().Image1->pixmap().toImage(), first);
  EXPECT_EQ(chartCaption(dlg->chartLaws()).join('\n').toStdString(),
            num("E: A2 = 1, B2 = 0.3, C2 = 0.671, D2 = 1.2\nPE: A1 = 3, B1 = 1").toStdString());
  // A field with no number yet leaves the set's value in the chart.
  QTest::keyClicks(f().EditA1, "-");
  QTest::keyClicks(f().EditB3, "x");
  app.set.A3 = 2, app.set.B3 = 0.25L;
  selectParticle(45);
  laws = dlg->chartLaws();
  EXPECT_EQ(laws.pesGroup, 3);
  EXPECT_EQ(laws.a, 1);  // the field, not the set
  EXPECT_EQ(laws.b, 0.25L);
  EXPECT_EQ(laws.a1, 1);
}

TEST_F(EditorTest, SubmitStopsAtTheFirstBadFieldKeepingEarlierValues) {
  selectParticle(2);
  setText(f().EditX, "9");
  setText(f().EditY, "-");
  setText(f().EditZ, "9");
  f().DaoTrue->setChecked(false);
  f().Submit->click();
  ASSERT_EQ(errors, QStringList{"'-' is not a valid floating point value."});
  EXPECT_EQ(app.set.X[1], 9);
  EXPECT_EQ(app.set.Y[1], 6);
  EXPECT_EQ(app.set.Z[1], 2);
  EXPECT_TRUE(app.set.present(2));
}

TEST_F(EditorTest, OkSavesTheSetRecordsItAndSyncsPresentCopies) {
  const QString path = dir.filePath("new.lis1");
  provider.answer = path;
  app.set.X[59] = 42;  // absent: its copies stay behind
  setText(f().EditDT, num("0.5"));
  setText(f().EditD3, "3");
  f().OKBtn->click();
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  const auto& s = app.set;
  EXPECT_EQ(s.Dt, 0.5L);
  EXPECT_EQ(s.D3, 3);
  EXPECT_EQ(fileBytes(path).size(), 3784);
  EXPECT_EQ(s.SetFileName, toLocal(path));
  EXPECT_EQ(s.StartName, toLocal(path));
  EXPECT_EQ(fileBytes(dir.filePath("Start.zent")), path.toLocal8Bit());
  EXPECT_EQ(s.X1[0], 1);
  EXPECT_EQ(s.DrawY[1], 6);
  EXPECT_EQ(s.Ux1[1], -2);
  EXPECT_EQ(s.DrawX[59], 0);
  EXPECT_EQ(s.X1[59], 0);

  // The save dialog offers the last chosen name next time.
  provider.answer = std::nullopt;
  dlg->show();
  f().OKBtn->click();
  EXPECT_EQ(provider.offered.last(), path);
}

TEST_F(EditorTest, OkWithCancelledSaveDialogWritesNothingButAccepts) {
  setText(f().EditDT, "5");
  f().OKBtn->click();
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  EXPECT_EQ(app.set.Dt, 0.01L);
  EXPECT_FALSE(QFile::exists(dir.filePath("Start.zent")));
  EXPECT_EQ(app.set.SetFileName, "old.lis1");
}

TEST_F(EditorTest, LettersInB2FailAfterEarlierParametersAreStoredAndOkStillCloses) {
  provider.answer = dir.filePath("bad.lis1");
  setText(f().EditDT, "2");
  setText(f().EditA1, "3");
  setText(f().EditB1, "4");
  setText(f().EditA2, "5");
  f().EditB2->clear();
  QTest::keyClicks(f().EditB2, "abc");
  EXPECT_EQ(f().EditB2->text(), "abc");  // this field has no filter
  f().OKBtn->click();
  ASSERT_EQ(errors, QStringList{"'abc' is not a valid floating point value."});
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
  const auto& s = app.set;
  EXPECT_EQ(s.Dt, 2);
  EXPECT_EQ(s.A1, 3);
  EXPECT_EQ(s.B1, 4);
  EXPECT_EQ(s.A2, 5);
  EXPECT_EQ(s.B2, 0.3L);
  EXPECT_FALSE(QFile::exists(dir.filePath("bad.lis1")));
  EXPECT_EQ(s.SetFileName, "old.lis1");
}

TEST_F(EditorTest, SaveAsWritesTheFileButLeavesTheStartUpNameAlone) {
  const QString path = dir.filePath("copy.lis1");
  provider.answer = path;
  setText(f().EditA3, "6");
  f().Saveas->click();
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_TRUE(dlg->isVisible());
  EXPECT_EQ(app.set.A3, 6);
  EXPECT_EQ(fileBytes(path).size(), 3784);
  EXPECT_EQ(f().EditFileName->text(), path);
  EXPECT_EQ(app.set.SetFileName, "old.lis1");
  EXPECT_EQ(app.set.StartName, "old.lis1");
  EXPECT_FALSE(QFile::exists(dir.filePath("Start.zent")));
}

TEST_F(EditorTest, SaveIntoAMissingFolderReportsTheFileError) {
  provider.answer = dir.filePath("no/such/folder/x.lis1");
  f().OKBtn->click();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_EQ(errors[0], "File not found.");
  EXPECT_EQ(app.set.SetFileName, "old.lis1");
  EXPECT_EQ(dlg->result(), QDialog::Accepted);
}

TEST_F(EditorTest, FilteredFieldsRefuseLettersButKeepNumberKeys) {
  f().EditX->clear();
  QTest::keyClicks(f().EditX, "a -0,5.x");
  EXPECT_EQ(f().EditX->text(), "-0,5.");
  QTest::keyClick(f().EditX, Qt::Key_Left);
  QTest::keyClick(f().EditX, Qt::Key_Backspace);
  QTest::keyClick(f().EditX, Qt::Key_Home);
  QTest::keyClick(f().EditX, Qt::Key_Delete);
  EXPECT_EQ(f().EditX->text(), "0,.");
  for (QLineEdit* e : {f().EditDT, f().EditA1, f().EditB1, f().EditY, f().EditZ, f().EditV, f().EditU, f().EditW}) {
    e->clear();
    QTest::keyClicks(e, "q1 ");
    EXPECT_EQ(e->text(), "1") << e->objectName().toStdString();
  }
  f().EditC3->clear();
  QTest::keyClicks(f().EditC3, "q1 ");
  EXPECT_EQ(f().EditC3->text(), "q1 ");
}

TEST_F(EditorTest, RepaintsDoNotEraseTypingButEachShowingReloads) {
  f().EditX->clear();
  QTest::keyClicks(f().EditX, "77");
  f().EditD2->setText("typed");
  dlg->repaint();
  dlg->update();
  QCoreApplication::processEvents();
  EXPECT_EQ(f().EditX->text(), "77");
  EXPECT_EQ(f().EditD2->text(), "typed");
  dlg->hide();
  dlg->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  EXPECT_EQ(f().EditX->text(), "1");
  EXPECT_EQ(f().EditD2->text(), num("1.2"));
}

TEST_F(EditorTest, SelectedRowAndListingModePersistAcrossShowings) {
  selectParticle(4);
  dlg->DaonsTableDblClick();
  f().CancelBtn->click();
  app.set.X[3] = 12;
  dlg->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
  EXPECT_EQ(f().NumberOfTaon->text(), "4");
  EXPECT_EQ(f().EditX->text(), "12");
  EXPECT_EQ(dlg->gridText(1, 0), "u(x)");
}

}  // namespace
