// File commands, figure commands, the velocity reset, and the question that
// keeps unsaved work.
#include "main_files.h"

#include <QDialog>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "TEditDlg.h"
#include "dialogs.h"
#include "figures/figures.h"
#include "files/file_io.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "main_commentary.h"
#include "main_history.h"
#include "main_listing.h"
#include "main_parameters.h"
#include "main_picture.h"
#include "main_view.h"
#include "view/drawing.h"
#include "view/fit.h"

using namespace zentrova;

namespace {

// The labels the built-in sets carry in place of a file name.
constexpr const char* kSpiralLabel = "ThetraSpiral";
constexpr const char* kEasySquareLabel = "This is a stabil structur of taons";

}  // namespace

MainFiles::MainFiles(TMainForm& form) : MainPart(form) {}

// The set refresh of New and Open. Everything that describes the set is shown
// before it is drawn, so a drawing fault is reported over a window that
// already shows the set it names.
void MainFiles::showNewSet(bool fitWhenUnseen) {
  app_.set.Time = 0;
  ui_.LTime->setText(QStringLiteral("0"));
  form_.listing().fill();
  form_.parameters().show();
  updateTitle();
  form_.view().drawWith([&](const Scene& scene) {
    zentrova::DrawTaons(scene);
    if (fitWhenUnseen && noParticleInView(scene)) FitToView(scene, form_.pictureCommands().fitTopInset());
  });
}

void MainFiles::New1Click() {
  QDialog* editorDialog = form_.editor();
  if (!editorDialog || !askSaveChanges()) return;
  auto* editor = qobject_cast<TEditDlg*>(editorDialog);
  if (dialogs().execModal(editorDialog) != QDialog::Accepted) return;
  form_.pictureCommands().clearTrails();
  app_.set.FigureMode = false;
  app_.set.Time = 0;
  // The editor's Yes, Save As and OK each become one command of a new history.
  MainHistory& history = form_.history();
  history.clear();
  if (editor) {
    const auto steps = editor->takeSteps();
    for (std::size_t i = 0; i < steps.size(); ++i)
      history.pushChangeBetween(steps[i].text, steps[i].before,
                                i + 1 < steps.size() ? steps[i + 1].before : SetSnapshot(app_.set));
    if (editor->savedOnOk()) markSaved();
  }
  ui_.Go->setEnabled(true);
  ui_.Null00->setEnabled(true);
  ui_.FName->setText(fromLocal(app_.set.SetFileName));
  showNewSet(false);
}

void MainFiles::Open1Click() {
  if (!askSaveChanges()) return;
  const auto chosen = dialogs().openSetFileName(&form_, startFolder() + QLatin1Char('/'));
  if (!chosen) return;
  lastOpenName_ = *chosen;
  form_.history().clear();
  auto& s = app_.set;
  s.FigureMode = false;
  ui_.Go->setEnabled(true);
  ui_.Null00->setEnabled(true);
  s.SetFileName = toLocal(*chosen);
  ui_.FName->setText(*chosen);
  updateTitle();
  readSetFile(s.SetFileName, app_.record);
  s.StartName = s.SetFileName;
  writeStartupFile(app_.startupPath, s.StartName);
  loadRecordIntoSet(app_.record, s);
  markSaved();
  form_.pictureCommands().clearTrails();
  form_.commentary().load();
  showNewSet(true);
}

void MainFiles::Save1Click() {
  if (app_.set.FigureMode) return;
  if (hasNoFile()) {
    Saveas1Click();  // a built-in set has nowhere to go yet
    return;
  }
  saveSet(app_.set, app_.record, app_.set.SetFileName);
  form_.history().clear();
  markSaved();
}

void MainFiles::Saveas1Click() {
  auto& s = app_.set;
  if (s.FigureMode) return;
  const auto chosen = dialogs().saveSetFileName(&form_, suggestedSaveName());
  if (!chosen) return;
  lastSaveName_ = *chosen;
  s.SetFileName = toLocal(*chosen);
  ui_.FName->setText(*chosen);
  updateTitle();
  saveSet(s, app_.record, s.SetFileName);
  form_.history().clear();
  markSaved();
  s.StartName = s.SetFileName;
  writeStartupFile(app_.startupPath, s.StartName);
}

void MainFiles::Null00Click() {
  auto& s = app_.set;
  if (s.FigureMode || !s.Stopped) return;
  const SetSnapshot before(s);
  for (int i = 0; i < std::min(s.Count, kMaxParticles); ++i) {
    s.Ux[i] = s.Uy[i] = s.Uz[i] = 0;
    s.Ux1[i] = s.Uy1[i] = s.Uz1[i] = 0;
  }
  form_.pictureCommands().clearTrails();
  ui_.Null00->setText(TMainForm::tr("Yes Null"));
  ui_.Null00->setStyleSheet(TMainForm::null00Style());
  form_.listing().fill();
  form_.history().pushChange(velocityResetText(), before);
  Saveas1Click();
}

void MainFiles::Spiral1Click() {
  if (!askSaveChanges()) return;
  const SetSnapshot before(app_.set);
  form_.pictureCommands().clearTrails();
  app_.set.FigureMode = true;
  buildFigure(app_.set);
  ui_.Go->setEnabled(false);
  ui_.Null00->setEnabled(false);
  form_.history().pushChange(TMainForm::tr("Spiral"), before);
  form_.view().DrawFigure();
}

void MainFiles::Daons1Click() {
  if (!askSaveChanges()) return;
  auto& s = app_.set;
  const SetSnapshot before(s);
  // Whatever the command shows is where the next question starts from, and
  // one Undo takes all of it back.
  struct Done {
    MainFiles* files;
    TMainForm& form;
    const SetSnapshot& before;
    ~Done() {
      files->markSaved();
      form.history().pushChange(TMainForm::tr("Taons"), before);
    }
  } done{this, form_, before};
  form_.pictureCommands().clearTrails();
  s.FigureMode = false;
  ui_.Go->setEnabled(true);
  ui_.Null00->setEnabled(true);
  const auto startName = readStartupFile(app_.startupPath);
  if (!startName) {
    dialogs().information(&form_, TMainForm::tr("The start File not found."));
    return;
  }
  s.StartName = *startName;
  if (s.StartName.empty()) {
    buildFigure(s);
    s.SetFileName = kEasySquareLabel;
    form_.listing().fill();
    ui_.FName->setText(fromLocal(s.SetFileName));
    form_.view().DrawTaons();
    return;
  }
  s.SetFileName = s.StartName;
  ui_.FName->setText(fromLocal(s.SetFileName));
  InFile file;
  if (!file.tryOpen(s.SetFileName)) {
    buildFigure(s);
    return;
  }
  readRecordAndClose(file, app_.record);
  loadRecordIntoSet(app_.record, s);
  form_.view().DrawTaons();
  form_.listing().fill();
}

void MainFiles::markSaved() {
  savedRecord_ = recordOf(app_.set, app_.record);
  savedName_ = app_.set.SetFileName;
  updateTitle();
}

bool MainFiles::setChanged() const {
  const auto& s = app_.set;
  if (s.FigureMode) return false;  // a figure is never saved
  return s.SetFileName != savedName_ || recordOf(s, app_.record).bytes != savedRecord_.bytes;
}

QString MainFiles::setDisplayName() const {
  if (hasNoFile()) return tr("the easy square");
  return QFileInfo(fromLocal(app_.set.SetFileName)).fileName();
}

QString MainFiles::velocityResetText() { return TMainForm::tr("Velocity Reset"); }

// The built-in sets carry a label where a set read from a file has its path.
bool MainFiles::hasNoFile() const {
  const std::string& name = app_.set.SetFileName;
  return !app_.set.FigureMode && (name.empty() || name == kSpiralLabel || name == kEasySquareLabel);
}

QString MainFiles::examplesFolder() {
  const QString programDir = QCoreApplication::applicationDirPath();
  for (const QString& folder : {QDir::cleanPath(programDir + QStringLiteral("/../share/zentrova/examples")),
                                QStringLiteral(ZENTROVA_DATA_DIR "/examples"), programDir + QStringLiteral("/examples")})
    if (QFileInfo(folder).isDir()) return folder;
  return QDir::currentPath();
}

QString MainFiles::startFolder() const {
  if (hasNoFile()) return examplesFolder();
  const QFileInfo set(fromLocal(app_.set.SetFileName));
  return set.absoluteDir().exists() ? set.absolutePath() : examplesFolder();
}

QString MainFiles::suggestedSaveName() const {
  if (!hasNoFile()) return QFileInfo(fromLocal(app_.set.SetFileName)).absoluteFilePath();
  // A name beside the examples that none of them has.
  const QDir folder(examplesFolder());
  QString name = folder.filePath(QStringLiteral("easy-square-copy.lis1"));
  for (int n = 2; QFileInfo::exists(name) && n < 1000; ++n)
    name = folder.filePath(QStringLiteral("easy-square-copy-%1.lis1").arg(n));
  return name;
}

void MainFiles::updateTitle() {
  if (app_.set.FigureMode) {
    titleMarked_ = false;
    form_.setWindowTitle(QStringLiteral(" Zentrova"));
    return;
  }
  titleMarked_ = setChanged();
  form_.setWindowTitle(setDisplayName() + (titleMarked_ ? QStringLiteral("*") : QString()) +
                       QStringLiteral(" \u2014 Zentrova"));
}

bool MainFiles::askSaveChanges() {
  if (!setChanged()) return true;
  switch (dialogs().saveChanges(&form_, setDisplayName())) {
    case SaveAnswer::Save:
      Save1Click();  // a failed save ends the command with its error
      return true;
    case SaveAnswer::Discard:
      return true;
    case SaveAnswer::Cancel:
      break;
  }
  return false;
}
