#include "TMainForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QUndoStack>
#include <QWindow>
#include <cstring>

#include "error_box.h"
#include "glyphs.h"
#include "figures/figures.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "image_canvas.h"
#include "key_filter.h"
#include "main_picture.h"
#include "number_cell.h"
#include "parameter_fields.h"
#include "ui_TMainForm.h"
#include "view/transform.h"

using namespace zentrova;

TMainForm::TMainForm(AppState& app, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      ui(std::make_unique<Ui::TMainForm>()),
      picture_(std::make_unique<PictureState>()) {
  ui->setupUi(this);
  // The Manager menu stays hidden; its commands still answer their keys.
  ui->Manager1->menuAction()->setVisible(false);
  addActions(ui->Manager1->actions());
  ui->Blockade->raise();
  ui->Blockade->setAutoFillBackground(true);
  ui->DaonsTable->setWordWrap(false);
  // A number too wide for its cell is shortened where it shows, never cut.
  ui->DaonsTable->setItemDelegate(new NumberCellDelegate(ui->DaonsTable));
  ui->DaonsTable->horizontalHeader()->setMinimumSectionSize(1);
  for (int r = 0; r < ui->DaonsTable->rowCount(); ++r)
    for (int c = 0; c < ui->DaonsTable->columnCount(); ++c) {
      auto* item = new QTableWidgetItem;
      if (r == 0 || c == 0) item->setBackground(palette().button());
      ui->DaonsTable->setItem(r, c, item);
    }
  savedComment_ = commentBytes();
  Timer = new QTimer(this);
  Timer->setInterval(300);
  connectHandlers();
  connectRunControl();
  setUpUndo();
  setupPictureCommands();
  setUpKeys();
  setUpLooks();
  setUpListing();
  // Lay the window out now, so the bottom panel's top is known to start-up.
  layout()->activate();
  centralWidget()->layout()->activate();
  runGuarded([this] { FormCreate(); });
  ui->Go->setIcon(checkGlyph());
  Timer->start();
}

TMainForm::~TMainForm() {
  delete keyRouter_;
  if (undo_) undo_->disconnect(this);  // the stack is cleared as it goes, after the menus
}

bool TMainForm::taoscopeChecked() const { return ui->Taoscope->isChecked(); }

int TMainForm::panTop() const { return ui->Pan->geometry().top(); }

void TMainForm::connectHandlers() {
  const auto on = [this](auto* sender, auto signal, void (TMainForm::*handler)()) {
    connect(sender, signal, this, [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
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
  connect(Timer, &QTimer::timeout, this, [this] { runRepaint([this] { TimerTimer(); }); });
  connect(ui->Comment, &QPlainTextEdit::textChanged, this, [this] { runGuarded([this] { CommentChange(); }); });
  connect(ui->ViewArea, &TViewArea::pressed, this,
          [this](Qt::MouseButton b, int x, int y) { runCommand([&] { FormMouseDown(b, x, y); }); });
  connect(ui->ViewArea, &TViewArea::released, this,
          [this](Qt::MouseButton b, int x, int y) { runCommand([&] { FormMouseUp(b, x, y); }); });
  // dt and the ten parameters are stored when their field is left or Enter
  // is pressed in it.
  parameterFields_ = {ui->EditDT, ui->EditA1, ui->EditB1, ui->EditA2, ui->EditB2, ui->EditC2,
                      ui->EditD2, ui->EditA3, ui->EditB3, ui->EditC3, ui->EditD3};
  auto* numeric = new NumericKeyFilter(this);
  for (QLineEdit* field : parameterFields_) {
    field->installEventFilter(numeric);
    field->installEventFilter(this);
  }
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
  if (auto* field = qobject_cast<QLineEdit*>(watched); field && parameterFields_.contains(field)) {
    const auto store = [this, field] {
      if (field == ui->EditDT)
        EditDTExit();
      else
        ParameterExit(field);
    };
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
      commentAskOnGo_ = true;
    else
      runGuarded([this] { CommentExit(); });
  }
  if (watched == ui->LTime && event->type() == QEvent::MouseButtonDblClick) runGuarded([this] { LTimeDblClick(); });
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) schedulePaint();
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::FormCreate() {
  auto& s = app_.set;
  auto& v = app_.view;
  initView(v, width(), panTop());
  s.FigureMode = true;
  s.Count = 60;
  s.FigureKind = 1;
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
      ui->FName->setText(QStringLiteral("The easy square"));
      return;
    }
    readRecordAndClose(file, app_.record);
    loadRecordIntoSet(app_.record, s);
    loadCommentary();
  });
  initViewSteps(v);
  fillListing();
  showParameters();
  s.Stopped = true;
  markSaved();  // what start-up shows is where the question starts from
}

void TMainForm::showParameters() {
  for (const zentrova::NamedParameter& p : zentrova::namedParameters()) {
    QLineEdit* edit = parameterField(ui->centralwidget, p);
    edit->setText(realText(app_.set.*p.field));
    edit->setCursorPosition(0);  // long numbers show their leading digits
  }
}

void TMainForm::fillListing() {
  auto* grid = ui->DaonsTable;
  // Only changed cells are written: the run refills the listing every step.
  // The view hears of them once, for the whole grid, rather than cell by cell.
  QAbstractItemModel* model = grid->model();
  bool changed = false, headerChanged = false;
  QSignalBlocker quiet(model);
  const auto put = [this, grid, &changed, &headerChanged](int row, int col, const QString& text) {
    QTableWidgetItem* item = grid->item(row, col);
    if (item->text() == text) return;
    item->setText(text);
    changed = true;
    if (row != 0 && col != 0) return;
    showListingHeader(row, col, text);
    headerChanged = true;
  };
  static const QString headers[2][3] = {{"X", "Y", "Z"}, {"u(x)", "u(y)", "u(z)"}};
  for (int c = 0; c < 3; ++c) put(0, c + 1, headers[ShowVelocities][c]);
  const auto& s = app_.set;
  const int count = std::min(s.Count, kMaxParticles);
  for (int i = 1; i <= count; ++i) put(i, 0, QString::number(i));
  const char sep = decimalSeparator();
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) {
      for (int c = 1; c <= 3; ++c) put(i, c, QString());
      continue;
    }
    const Real* values[3] = {&s.X[i - 1], &s.Y[i - 1], &s.Z[i - 1]};
    const Real* velocities[3] = {&s.Ux[i - 1], &s.Uy[i - 1], &s.Uz[i - 1]};
    for (int c = 0; c < 3; ++c)
      put(i, c + 1, QString::fromLatin1(formatReal(*(ShowVelocities ? velocities : values)[c], sep).c_str()));
  }
  quiet.unblock();
  if (changed)
    emit model->dataChanged(model->index(0, 0), model->index(model->rowCount() - 1, model->columnCount() - 1));
  // Headers lay themselves out anew when told, so they are told only when
  // theirs changed: a run changes numbers, not headers.
  if (headerChanged) {
    emit model->headerDataChanged(Qt::Horizontal, 0, model->columnCount() - 1);
    emit model->headerDataChanged(Qt::Vertical, 0, model->rowCount() - 1);
  }
}

void TMainForm::DaonsTableDblClick() {
  ShowVelocities = !ShowVelocities;
  fillListing();
}

namespace {

// Stores a typed value as one undoable change; the same value changes nothing.
bool sameBits(Real a, Real b) { return std::memcmp(&a, &b, 10) == 0; }

}  // namespace

void TMainForm::EditDTExit() {
  // The text the window wrote itself stands for the value as it is, all of
  // its bits, so leaving the field untouched changes nothing.
  if (ui->EditDT->text() == realText(app_.set.Dt)) return;
  const Real value = parseReal(toLocal(ui->EditDT->text()), decimalSeparator());
  if (sameBits(value, app_.set.Dt)) return;
  const SetSnapshot before(app_.set);
  app_.set.Dt = value;
  pushChange(QStringLiteral("Change of dt"), before);
}

void TMainForm::ParameterExit(QLineEdit* field) {
  auto& s = app_.set;
  for (const zentrova::NamedParameter& p : zentrova::namedParameters()) {
    if (p.kind == zentrova::ParameterKind::TimeStep) continue;  // EditDTExit's
    Real* target = &(s.*p.field);
    if (parameterField(ui->centralwidget, p) != field || field->text() == realText(*target)) continue;
    const Real value = parseReal(toLocal(field->text()), decimalSeparator());
    if (sameBits(value, *target)) return;
    const SetSnapshot before(s);
    *target = value;
    pushChange(QStringLiteral("Change of %1").arg(field->objectName().mid(4)), before);
  }
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
    if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
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
  schedulePaint();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  // Unsaved work is offered for saving; Cancel, or a save that fails, keeps
  // the window open and a run going.
  bool leave = false;
  if (!runGuarded([&] { leave = askSaveChanges(); }) || !leave) {
    event->ignore();
    return;
  }
  runGuarded([this] { commentCloseCheck(); });  // an edited commentary is offered for saving
  // A run in progress ends first; the program ends once it has stopped.
  app_.set.Stopped = true;
  event->accept();
}
