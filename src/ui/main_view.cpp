// Drawing and the view controls of the main window: the handlers read their
// event and hand it to the view core.
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTimer>
#include <exception>

#include "TMainForm.h"
#include "error_box.h"
#include "image_canvas.h"
#include "ui_TMainForm.h"
#include "view/controls.h"
#include "view/drawing.h"
#include "view/transform.h"

using namespace zentrova;
namespace ctl = zentrova::controls;

std::unique_ptr<QImageCanvas> TMainForm::canvas() {
  ui->ViewArea->ensureImageSize(width(), panTop());
  return std::make_unique<QImageCanvas>(ui->ViewArea->image(), width(), panTop(), font());
}

// Runs one drawing on a fresh canvas and shows the picture, also when the
// drawing stopped half way. The drawing works on its own copy of the set's
// drawing positions; in figure mode the turn it gave the figure is kept, also
// up to a point that failed.
template <class Draw>
void TMainForm::withScene(Draw&& draw) {
  auto surface = canvas();
  DrawingSnapshot shown = app_.set.drawingSnapshot();
  const Scene scene{*surface, app_.view, shown, taoscopeChecked(), shownTrails(), pointSize()};
  struct Show {
    TViewArea* area;
    ParticleSet& set;
    const DrawingSnapshot& shown;
    ~Show() {
      set.keepFigureTurn(shown);
      area->update();
    }
  } show{ui->ViewArea, app_.set, shown};
  draw(scene);
}

void TMainForm::drawWith(const std::function<void(const Scene&)>& draw) { withScene(draw); }

void TMainForm::DrawTaons() { withScene([&](const Scene& scene) { zentrova::DrawTaons(scene); }); }
void TMainForm::DrawFigure() { withScene([&](const Scene& scene) { zentrova::DrawFigure(scene); }); }
void TMainForm::RedrawView() { withScene([&](const Scene& scene) { zentrova::RedrawView(scene); }); }

// A set or a view that cannot be drawn fails every repaint the same way.
// Reported at every repaint, the box would uncover the view and fail it
// again without end; so a drawing fault is reported once, and repaints that
// fail again leave the view black until a command changes what is drawn.
// While a box is up, the window's own redraws (a resize, the timer) stay
// silent too: the box already tells.
void TMainForm::runCommand(const std::function<void()>& command) {
  drawFaultReported_ = false;
  std::exception_ptr fault;
  try {
    command();
    return;
  } catch (...) {
    fault = std::current_exception();
  }
  drawFaultReported_ = true;
  reportFault(fault);
}

void TMainForm::runRepaint(const std::function<void()>& repaint) {
  std::exception_ptr fault;
  try {
    repaint();
    return;
  } catch (...) {
    fault = std::current_exception();
  }
  ui->ViewArea->image().fill(Qt::black);
  ui->ViewArea->update();
  if (drawFaultReported_) return;
  drawFaultReported_ = true;
  reportFault(fault);
}

void TMainForm::reportFault(std::exception_ptr fault) {
  if (faultBoxUp_) return;
  faultBoxUp_ = true;
  runGuarded([&] { std::rethrow_exception(fault); });
  faultBoxUp_ = false;
}

void TMainForm::schedulePaint() {
  if (paintPending_) return;
  paintPending_ = true;
  QTimer::singleShot(0, this, [this] {
    paintPending_ = false;
    if (resizePending_) {
      resizePending_ = false;
      runCommand([this] { FormResize(); });
    }
    runRepaint([this] { FormPaint(); });
  });
}

void TMainForm::FormPaint() {
  withScene([&](const Scene& scene) { PaintView(scene, app_.set, width(), panTop()); });
  if (!app_.set.FigureMode) fillListing();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (app_.set.Count == 0) return;  // before start-up
  // The resize handler runs once the panels have their new geometry.
  resizePending_ = true;
  schedulePaint();
}

void TMainForm::FormResize() {
  UpdateCenter(app_.view, width(), panTop());
  const auto l = ctl::resizeLayout(ui->Panel1->geometry().left(), ui->PageControl->height());
  ui->FName->resize(std::max(l.fNameWidth, 0), ui->FName->height());
  ui->Comment->resize(std::max(l.commentWidth, 0), std::max(l.commentHeight, 0));
  ui->PageControl->resize(std::max(l.pageControlWidth, 0), ui->PageControl->height());
  ui->DaonsTable->resize(std::max(l.daonsTableWidth, 0), ui->DaonsTable->height());
  ui->DaonsTable->horizontalHeader()->setDefaultSectionSize(std::max(l.defaultColWidth, 1));
  ui->DaonsTable->verticalHeader()->setFixedWidth(std::max(l.defaultColWidth, 1));  // the number column
  RedrawView();
}

static ctl::MouseButton buttonOf(Qt::MouseButton b) {
  if (b == Qt::RightButton) return ctl::MouseButton::Right;
  if (b == Qt::MiddleButton) return ctl::MouseButton::Middle;
  return ctl::MouseButton::Left;
}

void TMainForm::FormMouseDown(Qt::MouseButton button, int x, int y) {
  ctl::FormMouseDown(app_.view, buttonOf(button), x, y);
}

void TMainForm::FormMouseUp(Qt::MouseButton button, int x, int y) {
  withScene([&](const Scene& scene) { ctl::FormMouseUp(scene, buttonOf(button), x, y, ui->ShowSpin->isChecked()); });
}

void TMainForm::DaoTetaClick() { withScene([&](const Scene& scene) { ctl::DaoTetaClick(scene); }); }
void TMainForm::DaoTeta1Click() { withScene([&](const Scene& scene) { ctl::DaoTeta1Click(scene); }); }
void TMainForm::DaoPsiClick() { withScene([&](const Scene& scene) { ctl::DaoPsiClick(scene); }); }
void TMainForm::DaoPsi1Click() { withScene([&](const Scene& scene) { ctl::DaoPsi1Click(scene); }); }
void TMainForm::DaoPhiClick() { withScene([&](const Scene& scene) { ctl::DaoPhiClick(scene); }); }
void TMainForm::DaoPhi1Click() { withScene([&](const Scene& scene) { ctl::DaoPhi1Click(scene); }); }
void TMainForm::DaoStopClick() { withScene([&](const Scene& scene) { ctl::DaoStopClick(scene); }); }
void TMainForm::DaoBackClick() { withScene([&](const Scene& scene) { ctl::DaoBackClick(scene); }); }
void TMainForm::DaoForvardClick() { withScene([&](const Scene& scene) { ctl::DaoForvardClick(scene); }); }
void TMainForm::TrackBarChange() { ctl::TrackBarChange(app_.view, ui->TrackBar->value()); }

void TMainForm::TimerTimer() {
  if (!app_.view.SpinOn) return;  // most ticks draw nothing
  withScene([&](const Scene& scene) { ctl::TimerTimer(scene); });
}

void TMainForm::ShowSpinClick() { ctl::ShowSpinClick(app_.view, ui->ShowSpin->isChecked()); }
void TMainForm::ShowNumbersOfPointsClick() {
  withScene([&](const Scene& scene) { ctl::ShowNumbersOfPointsClick(scene, ui->ShowNumbersOfPoints->isChecked()); });
}
void TMainForm::MoveToCenterClick() { withScene([&](const Scene& scene) { ctl::MoveToCenterClick(scene); }); }
void TMainForm::Left1Click() { withScene([&](const Scene& scene) { ctl::Left1Click(scene); }); }
void TMainForm::Right1Click() { withScene([&](const Scene& scene) { ctl::Right1Click(scene); }); }
void TMainForm::Up1Click() { withScene([&](const Scene& scene) { ctl::Up1Click(scene); }); }
void TMainForm::Down1Click() { withScene([&](const Scene& scene) { ctl::Down1Click(scene); }); }
