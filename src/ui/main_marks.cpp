// Picking, measuring, the status bar and the view's aids.
#include "main_marks.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "distance_calculator.h"
#include "error_box.h"
#include "main_picture.h"
#include "main_view.h"
#include "state/number_text.h"
#include "view/canvas.h"
#include "view/drawing.h"

using namespace zentrova;

namespace {

constexpr int kPickRadius = 6;  // pixels around a dot's projected point
constexpr int kStatusMs = 250;


}  // namespace

MainMarks::MainMarks(TMainForm& form) : MainPart(form) {
  setUpMenu();
  setUpStatusBar();
  connect(ui_.ViewArea, &TViewArea::clicked, this, [this](int x, int y, Qt::KeyboardModifiers m) {
    runGuarded([&] { ViewAreaClick(x, y, m & Qt::ShiftModifier); });
  });
  connect(ui_.DaonsTable, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (!selecting_ && row >= 1) runGuarded([&] { DaonsTableSelect(row); });
  });
}

void MainMarks::setUpMenu() {
  triad_ = ui_.AxesTriad;
  scaleBar_ = ui_.ScaleBar;
  palette_ = ui_.SafePalette;
  const auto redraw = [this] { form_.view().runCommand([this] { form_.view().RedrawView(); }); };
  connect(ui_.FrontView, &QAction::triggered, this, [this] { runGuarded([this] { StandardViewClick(0); }); });
  connect(ui_.TopView, &QAction::triggered, this, [this] { runGuarded([this] { StandardViewClick(1); }); });
  connect(ui_.SideView, &QAction::triggered, this, [this] { runGuarded([this] { StandardViewClick(2); }); });
  for (QAction* a : {triad_, scaleBar_, palette_}) connect(a, &QAction::toggled, this, redraw);
}

void MainMarks::setUpStatusBar() {
  QStatusBar* bar = form_.statusBar();
  bar->setSizeGripEnabled(true);
  pick_ = new QLabel(bar);
  pick_->setObjectName(QStringLiteral("StatusPick"));
  pick_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  step_ = new QLabel(bar);
  step_->setObjectName(QStringLiteral("StatusStep"));
  time_ = new QLabel(bar);
  time_->setObjectName(QStringLiteral("StatusTime"));
  rate_ = new QLabel(bar);
  rate_->setObjectName(QStringLiteral("StatusRate"));
  recording_ = new QLabel(tr("Recording"), bar);
  recording_->setObjectName(QStringLiteral("StatusRecording"));
  recording_->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0); font-weight: bold;"));
  bar->addWidget(pick_, 1);
  for (QLabel* l : {rate_, recording_, step_, time_}) bar->addPermanentWidget(l);
  rate_->hide();
  recording_->hide();
  poll_ = new QTimer(this);
  poll_->setInterval(kStatusMs);
  connect(poll_, &QTimer::timeout, this, [this] { refreshStatus(); });
  poll_->start();
  rateClock_.start();
}

void MainMarks::showFirstStartHint() {
  hinting_ = true;
  pick_->setText(tr("Press F5 for the easy square, F3 to open an example, Enter to run, F1 for the manual"));
}

Palette MainMarks::palette() const { return palette_->isChecked() ? Palette::OkabeIto : Palette::Classic; }

void MainMarks::ViewAreaClick(int x, int y, bool shift) {
  const int n = pickParticle(app_.view, app_.set.drawingSnapshot(), x, y, std::max(kPickRadius, form_.pictureCommands().pointSize()));
  if (n == 0) {
    picked_.clear();
  } else if (shift && !picked_.empty()) {
    picked_.erase(std::remove(picked_.begin(), picked_.end(), n), picked_.end());
    if (picked_.size() >= 3) picked_.erase(picked_.begin());
    picked_.push_back(n);
  } else {
    picked_ = {n};
  }
  picksChanged();
  if (n != 0) selectRow(n);
}

void MainMarks::DaonsTableSelect(int n) {
  if (n < 1 || n > std::min(app_.set.Count, kMaxParticles) || !app_.set.present(n)) return;
  picked_ = {n};
  picksChanged();
}

void MainMarks::clearPicks() {
  if (picked_.empty()) return;
  picked_.clear();
  picksChanged();
}

void MainMarks::selectRow(int n) {
  QTableWidget* grid = ui_.DaonsTable;
  selecting_ = true;
  grid->setCurrentCell(n, 1);
  grid->selectRow(n);
  if (QTableWidgetItem* item = grid->item(n, 1)) grid->scrollToItem(item);
  selecting_ = false;
}

void MainMarks::picksChanged() {
  hinting_ = false;
  form_.view().runCommand([this] { form_.view().RedrawView(); });
  refreshStatus();
}

void MainMarks::drawOver(Canvas& canvas) const {
  const DrawingSnapshot s = app_.set.drawingSnapshot();
  if (s.FigureMode) return;
  DrawPicked(canvas, app_.view, s, picked_, form_.pictureCommands().pointSize());
  if (triad_->isChecked()) DrawTriad(canvas, app_.view);
  if (scaleBar_->isChecked()) DrawScaleBar(canvas, app_.view, decimalSeparator());
  if (palette_->isChecked())
    DrawLegend(canvas, s.Count, form_.taoscopeChecked(), palette(), toLocal(tr("odd")), toLocal(tr("even")));
}

void MainMarks::StandardViewClick(int which) {
  if (app_.set.FigureMode) return;  // the spiral keeps its turns in its points
  constexpr Real pi = std::numbers::pi_v<Real>;
  // Each named plane across and up the screen: x-y, x-z, y-z.
  const Real angles[3][3] = {{-pi / 2, 0, 0}, {pi, 0, 0}, {pi, 0, -pi / 2}};
  ViewState& v = app_.view;
  v.Theta = v.Psi = v.Phi = 0;
  v.PrevTheta = angles[which][0];
  v.PrevPsi = angles[which][1];
  v.PrevPhi = angles[which][2];
  form_.view().runCommand([this] { form_.view().RedrawView(); });
}

QString MainMarks::pickText() const {
  const ParticleSet& s = app_.set;
  std::vector<int> p;
  for (int n : picked_)
    if (n >= 1 && n <= std::min(s.Count, kMaxParticles) && s.present(n)) p.push_back(n);
  if (p.empty()) return {};
  const auto text = [](Real v) { return realText(v); };
  if (p.size() == 1) {
    const int n = p[0], k = n - 1;
    Real cx = 0, cy = 0, cz = 0;
    int present = 0;
    for (int i = 1; i <= std::min(s.Count, kMaxParticles); ++i)
      if (s.present(i)) cx += s.X[i - 1], cy += s.Y[i - 1], cz += s.Z[i - 1], ++present;
    cx /= present, cy /= present, cz /= present;
    const Real speed = std::sqrt(s.Ux[k] * s.Ux[k] + s.Uy[k] * s.Uy[k] + s.Uz[k] * s.Uz[k]);
    const Real dx = s.X[k] - cx, dy = s.Y[k] - cy, dz = s.Z[k] - cz;
    const Real fromCentre = std::sqrt(dx * dx + dy * dy + dz * dz);
    return tr("%1 (%2)   position %3; %4; %5   velocity %6; %7; %8   speed %9   from the centre %10")
        .arg(QString::number(n), QString::fromLatin1(groupName(groupOf(n, s.Count))), text(s.X[k]), text(s.Y[k]),
             text(s.Z[k]), text(s.Ux[k]), text(s.Uy[k]), text(s.Uz[k]), text(speed))
        .arg(text(fromCentre));
  }
  // Distances as the editor's calculators work them out, from the numbers
  // the listings show.
  const GridText cell = [&s](int column, int row) -> std::string {
    if (row < 1 || row > kMaxParticles || !s.present(row)) return {};
    const auto& a = column == 1 ? s.X : column == 2 ? s.Y : s.Z;
    return formatReal(a[row - 1], decimalSeparator());
  };
  const auto distance = [&](int a, int b) {
    return QString::fromLatin1(gridDistance(std::to_string(a), std::to_string(b), cell, decimalSeparator()).c_str());
  };
  if (p.size() == 2)
    return tr("%1 to %2: distance %3").arg(p[0]).arg(p[1]).arg(distance(p[0], p[1]));
  const Real angle = particleAngle(s, p[0], p[1], p[2]);
  return tr("%1 to %2: distance %3   %2 to %4: distance %5   angle at %2: %6°")
      .arg(p[0])
      .arg(p[1])
      .arg(distance(p[0], p[1]))
      .arg(p[2])
      .arg(distance(p[1], p[2]))
      .arg(std::isnan(angle) ? QStringLiteral("-") : QLocale().toString(double(angle), 'f', 3));
}

void MainMarks::refreshStatus() {
  const ParticleSet& s = app_.set;
  // Picks of particles that left the set go with them.
  const auto gone = [&s](int n) { return n < 1 || n > std::min(s.Count, kMaxParticles) || !s.present(n); };
  if (std::any_of(picked_.begin(), picked_.end(), gone)) {
    picked_.erase(std::remove_if(picked_.begin(), picked_.end(), gone), picked_.end());
    form_.view().runCommand([this] { form_.view().RedrawView(); });
  }
  if (!hinting_) pick_->setText(s.FigureMode ? QString() : pickText());
  step_->setText(tr("Step %1").arg(s.Time));
  time_->setText(tr("Time %1").arg(realText(static_cast<Real>(s.Time) * s.Dt)));
  const bool running = !s.Stopped;
  if (running) {
    const qint64 ms = rateClock_.elapsed();
    if (s.Time < rateStep_) rateStep_ = s.Time;
    if (ms >= 1000) {
      rate_->setText(tr("%1 steps/s").arg(std::llround(double(s.Time - rateStep_) * 1000.0 / double(ms))));
      rateStep_ = s.Time;
      rateClock_.restart();
    }
  } else {
    rateStep_ = s.Time;
    rateClock_.restart();
    rate_->setText(QString());
  }
  rate_->setVisible(running && !rate_->text().isEmpty());
  const PictureState& p = form_.pictureCommands().state();
  recording_->setVisible(p.RecordFrames && p.RecordFrames->isChecked() && p.recorder);
}
