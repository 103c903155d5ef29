// Drawing and the view controls of the main window: the handlers read their
// event and hand it to the view core.
#include "main_view.h"

#include <QHeaderView>
#include <QPlainTextEdit>
#include <exception>

#include "error_box.h"
#include "image_canvas.h"
#include "main_listing.h"
#include "main_marks.h"
#include "main_picture.h"
#include "view/controls.h"
#include "view/drawing.h"
#include "view/transform.h"

using namespace zentrova;
namespace ctl = zentrova::controls;

MainView::MainView(TMainForm& form) : MainPart(form) {
  paint_ = new QTimer(this);
  paint_->setSingleShot(true);
  paint_->setInterval(0);
  connect(paint_, &QTimer::timeout, this, [this] {
    if (resizePending_) {
      resizePending_ = false;
      runCommand([this] { FormResize(); });
    }
    runRepaint([this] { FormPaint(); });
  });
}

std::unique_ptr<QImageCanvas> MainView::canvas() {
  ui_.ViewArea->ensureImageSize(form_.width(), form_.panTop());
  return std::make_unique<QImageCanvas>(ui_.ViewArea->image(), form_.width(), form_.panTop(), form_.font());
}

// Runs one drawing on a fresh canvas and shows the picture, also when the
// drawing stopped half way. The drawing works on its own copy of the set's
// drawing positions; in figure mode the turn it gave the figure is kept, also
// up to a point that failed.
template <class Draw>
void MainView::withScene(Draw&& draw) {
  auto surface = canvas();
  const MainPicture& picture = form_.pictureCommands();
  const MainMarks* marks = form_.marks();
  DrawingSnapshot shown = app_.set.drawingSnapshot();
  const Scene scene{*surface,           app_.view, shown, form_.taoscopeChecked(), picture.shownTrails(),
                    picture.pointSize(), marks ? marks->palette() : Palette::Classic};
  struct Show {
    TViewArea* area;
    ParticleSet& set;
    const DrawingSnapshot& shown;
    ~Show() {
      set.keepFigureTurn(shown);
      area->update();
    }
  } show{ui_.ViewArea, app_.set, shown};
  draw(scene);
  if (marks) marks->drawOver(*surface);
}

void MainView::drawWith(const std::function<void(const Scene&)>& draw) { withScene(draw); }

void MainView::DrawTaons() { withScene([&](const Scene& scene) { zentrova::DrawTaons(scene); }); }
void MainView::DrawFigure() { withScene([&](const Scene& scene) { zentrova::DrawFigure(scene); }); }
void MainView::RedrawView() { withScene([&](const Scene& scene) { zentrova::RedrawView(scene); }); }

// A set or a view that cannot be drawn fails every repaint the same way.
// Reported at every repaint, the box would uncover the view and fail it
// again without end; so a drawing fault is reported once, and repaints that
// fail again leave the view black until a command changes what is drawn.
// While a box is up, the window's own redraws (a resize, the timer) stay
// silent too: the box already tells.
void MainView::runCommand(const std::function<void()>& command) {
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

void MainView::runRepaint(const std::function<void()>& repaint) {
  std::exception_ptr fault;
  try {
    repaint();
    return;
  } catch (...) {
    fault = std::current_exception();
  }
  ui_.ViewArea->image().fill(Qt::black);
  ui_.ViewArea->update();
  if (drawFaultReported_) return;
  drawFaultReported_ = true;
  reportFault(fault);
}

void MainView::reportFault(std::exception_ptr fault) {
  if (faultBoxUp_) return;
  faultBoxUp_ = true;
  runGuarded([&] { std::rethrow_exception(fault); });
  faultBoxUp_ = false;
}

void MainView::schedulePaint() {
  if (!paint_->isActive()) paint_->start();
}

void MainView::resized() {
  if (app_.set.Count == 0) return;  // before start-up
  // The resize handler runs once the panels have their new geometry.
  resizePending_ = true;
  schedulePaint();
}

void MainView::FormPaint() {
  withScene([&](const Scene& scene) { PaintView(scene, app_.set, form_.width(), form_.panTop()); });
  if (!app_.set.FigureMode) form_.listing().fill();
}

void MainView::FormResize() {
  // The bottom panel grows with the splitter: the listing and the commentary
  // take the height it gains, the name and the mode buttons stay below them.
  constexpr int kPanHeight = 192, kPageControlHeight = 148, kTableHeight = 119, kFNameTop = 148, kModesTop = 169;
  const int grow = std::max(0, ui_.Pan->height() - kPanHeight);
  ui_.PageControl->resize(ui_.PageControl->width(), kPageControlHeight + grow);
  ui_.DaonsTable->resize(ui_.DaonsTable->width(), kTableHeight + grow);
  ui_.FName->move(ui_.FName->x(), kFNameTop + grow);
  ui_.Gravoscope->move(ui_.Gravoscope->x(), kModesTop + grow);
  ui_.Taoscope->move(ui_.Taoscope->x(), kModesTop + grow);
  UpdateCenter(app_.view, form_.width(), form_.panTop());
  const auto l = ctl::resizeLayout(ui_.Panel1->geometry().left(), ui_.PageControl->height());
  ui_.FName->resize(std::max(l.fNameWidth, 0), ui_.FName->height());
  ui_.Comment->resize(std::max(l.commentWidth, 0), std::max(l.commentHeight, 0));
  ui_.PageControl->resize(std::max(l.pageControlWidth, 0), ui_.PageControl->height());
  ui_.DaonsTable->resize(std::max(l.daonsTableWidth, 0), ui_.DaonsTable->height());
  ui_.DaonsTable->horizontalHeader()->setDefaultSectionSize(std::max(l.defaultColWidth, 1));
  ui_.DaonsTable->verticalHeader()->setFixedWidth(std::max(l.defaultColWidth, 1));  // the number column
  RedrawView();
}

static ctl::MouseButton buttonOf(Qt::MouseButton b) {
  if (b == Qt::RightButton) return ctl::MouseButton::Right;
  if (b == Qt::MiddleButton) return ctl::MouseButton::Middle;
  return ctl::MouseButton::Left;
}

void MainView::FormMouseDown(Qt::MouseButton button, int x, int y) {
  ctl::FormMouseDown(app_.view, buttonOf(button), x, y);
}

void MainView::FormMouseUp(Qt::MouseButton button, int x, int y) {
  withScene([&](const Scene& scene) { ctl::FormMouseUp(scene, buttonOf(button), x, y, ui_.ShowSpin->isChecked()); });
}

void MainView::DaoTetaClick() { withScene([&](const Scene& scene) { ctl::DaoTetaClick(scene); }); }
void MainView::DaoTeta1Click() { withScene([&](const Scene& scene) { ctl::DaoTeta1Click(scene); }); }
void MainView::DaoPsiClick() { withScene([&](const Scene& scene) { ctl::DaoPsiClick(scene); }); }
void MainView::DaoPsi1Click() { withScene([&](const Scene& scene) { ctl::DaoPsi1Click(scene); }); }
void MainView::DaoPhiClick() { withScene([&](const Scene& scene) { ctl::DaoPhiClick(scene); }); }
void MainView::DaoPhi1Click() { withScene([&](const Scene& scene) { ctl::DaoPhi1Click(scene); }); }
void MainView::DaoStopClick() { withScene([&](const Scene& scene) { ctl::DaoStopClick(scene); }); }
void MainView::DaoBackClick() { withScene([&](const Scene& scene) { ctl::DaoBackClick(scene); }); }
void MainView::DaoForvardClick() { withScene([&](const Scene& scene) { ctl::DaoForvardClick(scene); }); }
void MainView::TrackBarChange() { ctl::TrackBarChange(app_.view, ui_.TrackBar->value()); }

void MainView::TimerTimer() {
  if (!app_.view.SpinOn) return;  // most ticks draw nothing
  withScene([&](const Scene& scene) { ctl::TimerTimer(scene); });
}

void MainView::ShowSpinClick() { ctl::ShowSpinClick(app_.view, ui_.ShowSpin->isChecked()); }
void MainView::ShowNumbersOfPointsClick() {
  withScene([&](const Scene& scene) { ctl::ShowNumbersOfPointsClick(scene, ui_.ShowNumbersOfPoints->isChecked()); });
}
void MainView::MoveToCenterClick() { withScene([&](const Scene& scene) { ctl::MoveToCenterClick(scene); }); }
void MainView::Left1Click() { withScene([&](const Scene& scene) { ctl::Left1Click(scene); }); }
void MainView::Right1Click() { withScene([&](const Scene& scene) { ctl::Right1Click(scene); }); }
void MainView::Up1Click() { withScene([&](const Scene& scene) { ctl::Up1Click(scene); }); }
void MainView::Down1Click() { withScene([&](const Scene& scene) { ctl::Down1Click(scene); }); }
