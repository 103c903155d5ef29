#include "TMainForm.h"

#include <QApplication>
#include <QUndoStack>
#include <algorithm>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSettings>
#include <QSplitter>
#include <QWindow>

#include "error_box.h"
#include "figures/figures.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "glyphs.h"
#include "language.h"
#include "main_commentary.h"
#include "main_files.h"
#include "main_history.h"
#include "main_listing.h"
#include "main_marks.h"
#include "main_parameters.h"
#include "main_picture.h"
#include "main_run.h"
#include "main_view.h"
#include "ui_TMainForm.h"
#include "view/transform.h"

using namespace zentrova;

TMainForm::TMainForm(AppState& app, QWidget* parent)
    : QMainWindow(parent), app_(app), ui(std::make_unique<Ui::TMainForm>()) {
  ui->setupUi(this);
  // The Manager menu stays hidden; its commands still answer their keys.
  ui->Manager1->menuAction()->setVisible(false);
  addActions(ui->Manager1->actions());
  // The view takes what the window gains; the listing grows only when the
  // splitter is moved.
  ui->Splitter->setStretchFactor(0, 1);
  ui->Splitter->setStretchFactor(1, 0);
  ui->Splitter->setSizes({height(), ui->Pan->minimumHeight()});
  connect(ui->Splitter, &QSplitter::splitterMoved, this, [this] {
    if (view_) view_->resized();
  });
  ui->Blockade->raise();
  ui->Blockade->setAutoFillBackground(true);
  listing_ = std::make_unique<MainListing>(*this);
  commentary_ = std::make_unique<MainCommentary>(*this);
  Timer = new QTimer(this);
  Timer->setInterval(300);
  parameters_ = std::make_unique<MainParameters>(*this);
  history_ = std::make_unique<MainHistory>(*this);
  view_ = std::make_unique<MainView>(*this);
  files_ = std::make_unique<MainFiles>(*this);
  connectHandlers();
  run_ = std::make_unique<MainRun>(*this);
  picture_ = std::make_unique<MainPicture>(*this);
  marks_ = std::make_unique<MainMarks>(*this);
  // "Yes Null" tells of a velocity reset since the last run began: it goes
  // with the reset when that is undone, and comes back when it is redone.
  connect(undoStack(), &QUndoStack::indexChanged, this, [this](int index) {
    const auto& s = app_.set;
    const auto zero = [](const auto& a) { return std::all_of(a.begin(), a.end(), [](Real u) { return u == 0; }); };
    if (!zero(s.Ux) || !zero(s.Uy) || !zero(s.Uz))
      ui->Null00->setText(QStringLiteral("0"));
    else if (index > 0 && undoStack()->text(index - 1) == MainFiles::velocityResetText())
      ui->Null00->setText(QStringLiteral("Yes Null"));
  });
  setUpKeys();
  setUpLooks();
  addLanguageMenu(ui->Help0, ui->About1, this);
  // Lay the window out now, so the bottom panel's top is known to start-up.
  layout()->activate();
  centralWidget()->layout()->activate();
  runGuarded([this] { FormCreate(); });
  ui->Go->setIcon(checkGlyph());
  Timer->start();
}

TMainForm::~TMainForm() { delete keyRouter_; }

bool TMainForm::taoscopeChecked() const { return ui->Taoscope->isChecked(); }

// The bottom of the view, which the splitter keeps apart from the panel.
int TMainForm::panTop() const { return ui->ViewArea->height(); }

void TMainForm::connectHandlers() {
  const auto on = [this](auto* sender, auto signal, void (TMainForm::*handler)()) {
    connect(sender, signal, this, [this, handler] { view_->runCommand([this, handler] { (this->*handler)(); }); });
  };
  on(ui->Exit1, &QAction::triggered, &TMainForm::Exit1Click);
  on(ui->New1, &QAction::triggered, &TMainForm::New1Click);
  on(ui->Open1, &QAction::triggered, &TMainForm::Open1Click);
  on(ui->Save1, &QAction::triggered, &TMainForm::Save1Click);
  on(ui->Saveas1, &QAction::triggered, &TMainForm::Saveas1Click);
  on(ui->Daons1, &QAction::triggered, &TMainForm::Daons1Click);
  on(ui->Spiral1, &QAction::triggered, &TMainForm::Spiral1Click);
  on(ui->ShowSpin, &QAction::triggered, &TMainForm::ShowSpinClick);
  on(ui->ShowNumbersOfPoints, &QAction::triggered, &TMainForm::ShowNumbersOfPointsClick);
  on(ui->MoveToCenter, &QAction::triggered, &TMainForm::MoveToCenterClick);
  on(ui->Left1, &QAction::triggered, &TMainForm::Left1Click);
  on(ui->Right1, &QAction::triggered, &TMainForm::Right1Click);
  on(ui->Up1, &QAction::triggered, &TMainForm::Up1Click);
  on(ui->Down1, &QAction::triggered, &TMainForm::Down1Click);
  on(ui->Help1, &QAction::triggered, &TMainForm::Help1Click);
  on(ui->RusHelp, &QAction::triggered, &TMainForm::RusHelpClick);
  on(ui->PolHelp, &QAction::triggered, &TMainForm::PolHelpClick);
  on(ui->About1, &QAction::triggered, &TMainForm::About1Click);
  on(ui->Keyboard1, &QAction::triggered, &TMainForm::Keyboard1Click);
  on(ui->Go, &QPushButton::clicked, &TMainForm::GoClick);
  on(ui->Null00, &QToolButton::clicked, &TMainForm::Null00Click);
  on(ui->DaoTeta, &QToolButton::clicked, &TMainForm::DaoTetaClick);
  on(ui->DaoTeta1, &QToolButton::clicked, &TMainForm::DaoTeta1Click);
  on(ui->DaoPsi, &QToolButton::clicked, &TMainForm::DaoPsiClick);
  on(ui->DaoPsi1, &QToolButton::clicked, &TMainForm::DaoPsi1Click);
  on(ui->DaoPhi, &QToolButton::clicked, &TMainForm::DaoPhiClick);
  on(ui->DaoPhi1, &QToolButton::clicked, &TMainForm::DaoPhi1Click);
  on(ui->DaoStop, &QToolButton::clicked, &TMainForm::DaoStopClick);
  on(ui->DaoBack, &QToolButton::clicked, &TMainForm::DaoBackClick);
  on(ui->DaoForvard, &QToolButton::clicked, &TMainForm::DaoForvardClick);
  on(ui->TrackBar, &QSlider::valueChanged, &TMainForm::TrackBarChange);
  on(ui->Undo1, &QAction::triggered, &TMainForm::Undo1Click);
  on(ui->Redo1, &QAction::triggered, &TMainForm::Redo1Click);
  connect(Timer, &QTimer::timeout, this, [this] { view_->runRepaint([this] { TimerTimer(); }); });
  connect(ui->ViewArea, &TViewArea::pressed, this,
          [this](Qt::MouseButton b, int x, int y) { view_->runCommand([&] { FormMouseDown(b, x, y); }); });
  connect(ui->ViewArea, &TViewArea::released, this,
          [this](Qt::MouseButton b, int x, int y) { view_->runCommand([&] { FormMouseUp(b, x, y); }); });
  ui->Comment->installEventFilter(this);
  ui->LTime->installEventFilter(this);
}

// Focus leaving a field for another control of this window is its exit; focus
// lost to another window (a message box, a menu) is not.
static bool isExit(QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const auto reason = static_cast<QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

static bool isEnter(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (parameters_ && parameters_->isField(watched)) {
    auto* field = static_cast<QLineEdit*>(watched);
    const auto store = [this, field] { parameters_->store(field); };
    if (isExit(event)) runGuarded(store);
    // Enter stores the value before it reaches Go; a value that does not
    // convert keeps the key, so no run starts with the old one.
    if (isEnter(event) && !runGuarded(store)) return true;
  }
  if (watched == ui->Comment && isExit(event)) {
    // A click on Go asks the question from Go's own handler, so that the
    // click is not lost behind the box.
    const bool toGo = QApplication::focusWidget() == ui->Go &&
                      static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
    if (toGo)
      commentary_->leftForGo();
    else
      runGuarded([this] { CommentExit(); });
  }
  if (watched == ui->LTime && event->type() == QEvent::MouseButtonDblClick) runGuarded([this] { LTimeDblClick(); });
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed())
    view_->schedulePaint();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormCreate() {
  auto& s = app_.set;
  auto& v = app_.view;
  UpdateCenter(v, width(), panTop());
  v.Distance = 120.0L;
  v.Theta = v.Psi = v.Phi = 0;
  s.FigureMode = true;
  s.Count = 60;
  s.FigureKind = 1;
  BuildMatrix(v);
  // An input/output error in the file steps is reported, and start-up still
  // finishes, so the window opens with its step sizes, listing and fields.
  runGuarded([&] {
    const auto startName = readStartupFile(app_.startupPath);
    if (!startName) {
      createEmptyStartupFile(app_.startupPath);
      buildFigure(s);
      s.SetFileName = "ThetraSpiral";
      return;
    }
    s.StartName = *startName;
    if (s.StartName.empty()) {
      buildFigure(s);
      s.SetFileName = "ThetraSpiral";
      return;
    }
    s.FigureMode = false;
    ui->Go->setEnabled(true);
    s.SetFileName = s.StartName;
    ui->FName->setText(fromLocal(s.SetFileName));
    InFile file;
    if (!file.tryOpen(s.SetFileName)) {
      buildFigure(s);
      ui->FName->setText(tr("The easy square"));
      return;
    }
    readRecordAndClose(file, app_.record);
    loadRecordIntoSet(app_.record, s);
    loadCommentary();
  });
  v.PanStep = 5.0L;
  v.ZoomStep = 3.0L;
  v.AngleStep = 0.01L;
  fillListing();
  parameters_->show();
  s.Stopped = true;
  files_->markSaved();  // what start-up shows is where the question starts from
}

void TMainForm::Exit1Click() { close(); }

void TMainForm::keyPressEvent(QKeyEvent* event) {
  // Go is the default button while it reads "Go" and the cancel button while
  // it reads "Stop"; Enter also stops, as Run > Go / Stop shows. Keys reach
  // here only when the focused control left them.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (ui->Go->isEnabled() && event->modifiers() == Qt::NoModifier) {
    if (enter || (event->key() == Qt::Key_Escape && !app_.set.Stopped)) {
      ui->Go->click();
      return;
    }
  }
  QMainWindow::keyPressEvent(event);
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!centred_) {
    centred_ = true;
    if (restoreLayout()) {
      // placed as it was last closed
    } else if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
      QRect frame = frameGeometry();
      frame.moveCenter(screen->availableGeometry().center());
      move(frame.topLeft());
    }
  }
  // The window system's requests to draw the window arrive as expose events
  // of its native window; Qt's own repaints only show the last picture.
  if (windowHandle() && !exposeWatched_) {
    windowHandle()->installEventFilter(this);
    exposeWatched_ = true;
  }
  view_->schedulePaint();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (view_) view_->resized();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Unsaved work is offered for saving; Cancel, or a save that fails, keeps
  // the window open and a run going.
  bool leave = false;
  if (!runGuarded([&] { leave = files_->askSaveChanges(); }) || !leave) {
    event->ignore();
    return;
  }
  runGuarded([this] { commentCloseCheck(); });  // an edited commentary is offered for saving
  runGuarded([this] { run_->end(); });  // a run in progress ends first, as Stop ends it
  saveLayout();
  event->accept();
}

namespace {

// ~/.config/zentrova/zentrova.conf, with the language chosen in Help.
QSettings layoutSettings() { return QSettings(QStringLiteral("zentrova"), QStringLiteral("zentrova")); }

}  // namespace

// Nothing but the window's layout is kept here; the set to open stays in the
// start-up file. A first start (nothing kept yet) says what to press.
bool TMainForm::restoreLayout() {
  const QSettings settings = layoutSettings();
  const QByteArray geometry = settings.value(QStringLiteral("window/geometry")).toByteArray();
  if (geometry.isEmpty()) {
    marks_->showFirstStartHint();
    return false;
  }
  ui->Splitter->restoreState(settings.value(QStringLiteral("window/splitter")).toByteArray());
  return restoreGeometry(geometry);
}

void TMainForm::saveLayout() const {
  QSettings settings = layoutSettings();
  settings.setValue(QStringLiteral("window/geometry"), saveGeometry());
  settings.setValue(QStringLiteral("window/splitter"), ui->Splitter->saveState());
}

// The handlers, each answered by the part it belongs to.
void TMainForm::fillListing() { listing_->fill(); }
void TMainForm::DaonsTableDblClick() { listing_->DaonsTableDblClick(); }
void TMainForm::EditDTExit() { parameters_->EditDTExit(); }
void TMainForm::ParameterExit(QLineEdit* field) { parameters_->ParameterExit(field); }

void TMainForm::GoClick() { run_->GoClick(); }
void TMainForm::runSteps(std::int32_t n) { run_->runSteps(n); }
void TMainForm::LTimeDblClick() { run_->LTimeDblClick(); }
void TMainForm::Monitor1Click() { run_->Monitor1Click(); }
void TMainForm::GoStopClick() { run_->GoStopClick(); }
void TMainForm::StepOnceClick() { run_->StepOnceClick(); }
void TMainForm::SpeedClick(int stepsPerSecond) { run_->SpeedClick(stepsPerSecond); }
TMonitor* TMainForm::monitor() const { return run_->monitor(); }

void TMainForm::FormPaint() { view_->FormPaint(); }
void TMainForm::FormResize() { view_->FormResize(); }
void TMainForm::FormMouseDown(Qt::MouseButton button, int x, int y) { view_->FormMouseDown(button, x, y); }
void TMainForm::FormMouseUp(Qt::MouseButton button, int x, int y) { view_->FormMouseUp(button, x, y); }
void TMainForm::DaoTetaClick() { view_->DaoTetaClick(); }
void TMainForm::DaoTeta1Click() { view_->DaoTeta1Click(); }
void TMainForm::DaoPsiClick() { view_->DaoPsiClick(); }
void TMainForm::DaoPsi1Click() { view_->DaoPsi1Click(); }
void TMainForm::DaoPhiClick() { view_->DaoPhiClick(); }
void TMainForm::DaoPhi1Click() { view_->DaoPhi1Click(); }
void TMainForm::DaoStopClick() { view_->DaoStopClick(); }
void TMainForm::DaoBackClick() { view_->DaoBackClick(); }
void TMainForm::DaoForvardClick() { view_->DaoForvardClick(); }
void TMainForm::TrackBarChange() { view_->TrackBarChange(); }
void TMainForm::TimerTimer() { view_->TimerTimer(); }
void TMainForm::ShowSpinClick() { view_->ShowSpinClick(); }
void TMainForm::ShowNumbersOfPointsClick() { view_->ShowNumbersOfPointsClick(); }
void TMainForm::MoveToCenterClick() { view_->MoveToCenterClick(); }
void TMainForm::Left1Click() { view_->Left1Click(); }
void TMainForm::Right1Click() { view_->Right1Click(); }
void TMainForm::Up1Click() { view_->Up1Click(); }
void TMainForm::Down1Click() { view_->Down1Click(); }
void TMainForm::DrawTaons() { view_->DrawTaons(); }
void TMainForm::DrawFigure() { view_->DrawFigure(); }
void TMainForm::RedrawView() { view_->RedrawView(); }

void TMainForm::New1Click() { files_->New1Click(); }
void TMainForm::Open1Click() { files_->Open1Click(); }
void TMainForm::Save1Click() { files_->Save1Click(); }
void TMainForm::Saveas1Click() { files_->Saveas1Click(); }
void TMainForm::Null00Click() { files_->Null00Click(); }
void TMainForm::Spiral1Click() { files_->Spiral1Click(); }
void TMainForm::Daons1Click() { files_->Daons1Click(); }
bool TMainForm::setChanged() const { return files_->setChanged(); }

void TMainForm::loadCommentary() { commentary_->load(); }
void TMainForm::CommentChange() { commentary_->CommentChange(); }
void TMainForm::CommentExit() { commentary_->CommentExit(); }
void TMainForm::saveComment() { commentary_->save(); }
void TMainForm::commentCloseCheck() { commentary_->closeCheck(); }
bool TMainForm::commentChanged() const { return commentary_->changed(); }
bool TMainForm::commentWritable() const { return commentary_->writable(); }

void TMainForm::FitToViewClick() { picture_->FitToViewClick(); }
void TMainForm::KeepInViewClick() { picture_->KeepInViewClick(); }
void TMainForm::TrailsClick() { picture_->TrailsClick(); }
void TMainForm::PointSizeClick(int size) { picture_->PointSizeClick(size); }
void TMainForm::ExportImageClick() { picture_->ExportImageClick(); }
void TMainForm::RecordFramesClick() { picture_->RecordFramesClick(); }
void TMainForm::ViewAreaWheel(int angleDelta) { picture_->ViewAreaWheel(angleDelta); }
void TMainForm::ViewAreaDrag(int x, int y) { picture_->ViewAreaDrag(x, y); }
PictureState& TMainForm::picture() { return picture_->state(); }

QUndoStack* TMainForm::undoStack() const { return history_->stack(); }
void TMainForm::Undo1Click() { history_->Undo1Click(); }
void TMainForm::Redo1Click() { history_->Redo1Click(); }
QString TMainForm::runText(std::int64_t steps) { return MainHistory::runText(steps); }
QString TMainForm::singleStepsText(std::int64_t steps) { return MainHistory::singleStepsText(steps); }

// Brings the window in line with a set put back by Undo or Redo.
void TMainForm::showRestoredSet() {
  auto& s = app_.set;
  picture_->clearTrails();
  ui->Go->setEnabled(!s.FigureMode);
  ui->Null00->setEnabled(!s.FigureMode);
  if (!s.FigureMode) ui->FName->setText(fromLocal(s.SetFileName));

  run_->showTime();
  fillListing();
  parameters_->show();
  files_->updateTitle();
  if (s.FigureMode)
    DrawFigure();
  else
    DrawTaons();
}
