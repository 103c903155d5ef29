#pragma once
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <cstdint>
#include <vector>

#include "main_part.h"
#include "view/marks.h"

class QAction;
class QLabel;
class QTimer;
namespace zentrova {
class Canvas;
}

// Pointing at particles and seeing the space: a click on a drawn particle
// picks it (Shift adds a second and a third, to measure a distance and an
// angle), the listing follows and leads the pick, and the status bar tells
// the picked particles' values, the step, the time, the pace of a run and a
// recording. Also the view's aids: standard views, the axes triad, the scale
// bar and the colour-blind-safe palette with its legend.
class MainMarks : public MainPart {
  Q_DECLARE_TR_FUNCTIONS(MainMarks)

 public:
  explicit MainMarks(TMainForm& form);

  // A click without a drag on the view at (x, y).
  void ViewAreaClick(int x, int y, bool shift);
  // The listing's current row became that of particle n.
  void DaonsTableSelect(int n);
  const std::vector<int>& picked() const { return picked_; }
  void clearPicks();

  // Drawn over every picture of the view.
  void drawOver(zentrova::Canvas& canvas) const;
  zentrova::Palette palette() const;

  // 0 front (x-y), 1 top (x-z), 2 side (y-z).
  void StandardViewClick(int which);
  void TriadClick();
  void ScaleBarClick();
  void PaletteClick();

  // The status bar anew from the set as it is now.
  void refreshStatus();
  QString pickText() const;
  QLabel* stepLabel() const { return step_; }
  QLabel* timeLabel() const { return time_; }
  QLabel* rateLabel() const { return rate_; }
  QLabel* recordingLabel() const { return recording_; }
  QLabel* pickLabel() const { return pick_; }
  // What to press, on a first start.
  void showFirstStartHint();

 private:
  void setUpMenu();
  void setUpStatusBar();
  void picksChanged();
  void selectRow(int n);

  std::vector<int> picked_;
  bool selecting_ = false;  // the listing is being moved to the pick
  QAction* triad_ = nullptr;
  QAction* scaleBar_ = nullptr;
  QAction* palette_ = nullptr;
  QLabel *pick_ = nullptr, *step_ = nullptr, *time_ = nullptr, *rate_ = nullptr, *recording_ = nullptr;
  QTimer* poll_ = nullptr;
  QElapsedTimer rateClock_;
  std::int64_t rateStep_ = 0;
  bool hinting_ = false;
};
