#pragma once
#include <QTimer>
#include <exception>
#include <functional>
#include <memory>

#include "main_part.h"

class QImageCanvas;
namespace zentrova {
struct Scene;
}

// The 3-D view: drawing on the view's image, the handlers of its buttons,
// mouse and timer, the repaints the window system asks for, and the one
// place where a failed command or repaint is reported.
class MainView : public MainPart {
 public:
  explicit MainView(TMainForm& form);

  // Runs one drawing on a fresh canvas and shows the picture, also when the
  // drawing stopped half way.
  void drawWith(const std::function<void(const zentrova::Scene&)>& draw);
  void DrawTaons();
  void DrawFigure();
  void RedrawView();

  // A command's fault is reported; a repaint's only once until the next
  // command (see main_view.cpp).
  void runCommand(const std::function<void()>& command);
  void runRepaint(const std::function<void()>& repaint);
  // Paints the window once events settle; a resize is handled first.
  void schedulePaint();
  void resized();

  void FormPaint();
  void FormResize();
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormMouseUp(Qt::MouseButton button, int x, int y);
  void DaoTetaClick();
  void DaoTeta1Click();
  void DaoPsiClick();
  void DaoPsi1Click();
  void DaoPhiClick();
  void DaoPhi1Click();
  void DaoStopClick();
  void DaoBackClick();
  void DaoForvardClick();
  void TrackBarChange();
  void TimerTimer();
  void ShowSpinClick();
  void ShowNumbersOfPointsClick();
  void MoveToCenterClick();
  void Left1Click();
  void Right1Click();
  void Up1Click();
  void Down1Click();

 private:
  std::unique_ptr<QImageCanvas> canvas();
  template <class Draw>
  void withScene(Draw&& draw);
  void reportFault(std::exception_ptr fault);

  bool drawFaultReported_ = false;  // repaints that fail again stay silent
  // A box runs an event loop while it is up, in which a resize or a paint
  // may fail again: one box at a time.
  bool faultBoxUp_ = false;
  bool resizePending_ = false;
  QTimer* paint_ = nullptr;  // one paint for all the requests before it
};
