// The picture commands of the main window. The work is done by the view core.
#include "main_picture.h"

#include <QActionGroup>
#include <QMenu>
#include <algorithm>
#include <utility>

#include "dialogs.h"
#include "error_box.h"
#include "main_view.h"
#include "png_file.h"
#include "state/errors.h"
#include "view/fit.h"
#include "view/preview.h"

using namespace zentrova;

namespace {

// Keep in View fits at most this often, so a run stays watchable.
constexpr std::chrono::milliseconds kKeepInViewInterval(500);

controls::MouseButton previewButton(int b) {
  if (b == Qt::RightButton) return controls::MouseButton::Right;
  if (b == Qt::MiddleButton) return controls::MouseButton::Middle;
  return controls::MouseButton::Left;
}

}  // namespace

MainPicture::MainPicture(TMainForm& form) : MainPart(form) {
  PictureState& p = state_;
  p.FitToView = ui_.FitToView;
  p.KeepInView = ui_.KeepInView;
  p.Trails = ui_.Trails;
  p.PointSize = ui_.PointSize;
  p.ExportImage = ui_.ExportImage;
  p.RecordFrames = ui_.RecordFrames;
  auto* sizes = new QActionGroup(this);
  for (const auto& choice : {std::pair{ui_.PointSize2, 2}, std::pair{ui_.PointSize3, 3}, std::pair{ui_.PointSize5, 5}}) {
    const int size = choice.second;
    sizes->addAction(choice.first);
    connect(choice.first, &QAction::triggered, this, [this, size] { runGuarded([this, size] { PointSizeClick(size); }); });
  }

  const auto on = [this](QAction* a, void (MainPicture::*handler)()) {
    connect(a, &QAction::triggered, this, [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
  };
  on(p.FitToView, &MainPicture::FitToViewClick);
  on(p.KeepInView, &MainPicture::KeepInViewClick);
  on(p.Trails, &MainPicture::TrailsClick);
  on(p.ExportImage, &MainPicture::ExportImageClick);
  on(p.RecordFrames, &MainPicture::RecordFramesClick);

  connect(ui_.ViewArea, &TViewArea::pressed, this, [this](Qt::MouseButton b, int, int) {
    if (!state_.dragButton) state_.dragButton = int(b);
  });
  connect(ui_.ViewArea, &TViewArea::released, this, [this](Qt::MouseButton b, int, int) {
    if (state_.dragButton == int(b)) state_.dragButton = 0;
  });
  connect(ui_.ViewArea, &TViewArea::dragged, this, [this](int x, int y) { ViewAreaDrag(x, y); });
  connect(ui_.ViewArea, &TViewArea::wheeled, this,
          [this](int delta) { runGuarded([this, delta] { ViewAreaWheel(delta); }); });
}

const Trails* MainPicture::shownTrails() const {
  return state_.Trails && state_.Trails->isChecked() ? &state_.trails : nullptr;
}

int MainPicture::fitTopInset() const { return ui_.Blockade->geometry().bottom() + 1; }

void MainPicture::FitToViewClick() {
  form_.view().drawWith([&](const Scene& scene) { FitToView(scene, fitTopInset()); });
}

void MainPicture::KeepInViewClick() {}  // the check mark is the state; the run reads it

void MainPicture::TrailsClick() {
  state_.trails.clear();  // a trail starts when it is switched on
  form_.view().RedrawView();
}

void MainPicture::PointSizeClick(int size) {
  state_.pointSize = size;
  form_.view().RedrawView();
}

void MainPicture::ViewAreaWheel(int angleDelta) {
  if (angleDelta == 0) return;
  form_.view().drawWith([&](const Scene& scene) { WheelZoom(scene, angleDelta / 120.0L); });
}

void MainPicture::ViewAreaDrag(int x, int y) {
  const int button = state_.dragButton;
  if (!button) return;
  // A preview that cannot be drawn leaves the last picture; the release
  // reports the fault.
  try {
    form_.view().drawWith([&](const Scene& scene) {
      DrawDragPreview(scene, previewButton(button), x, y, ui_.ShowSpin->isChecked());
    });
  } catch (const zentrova::AppError&) {
  }
}

void MainPicture::clearTrails() { state_.trails.clear(); }

void MainPicture::recordTrails() {
  if (shownTrails()) state_.trails.record(app_.set.drawingSnapshot());
}

void MainPicture::keepInView() {
  PictureState& p = state_;
  if (!p.KeepInView->isChecked() || app_.set.FigureMode) return;
  const auto now = std::chrono::steady_clock::now();
  const bool mayWait = now - p.lastKeepFit < kKeepInViewInterval;
  form_.view().drawWith([&](const Scene& scene) {
    if (KeepInView(scene, fitTopInset(), mayWait)) p.lastKeepFit = now;
  });
}

QImage MainPicture::shownPicture() {
  const QRect area = QRect(0, 0, form_.width(), form_.panTop()).intersected(ui_.ViewArea->rect());
  ui_.ViewArea->ensureImageSize(area.width(), area.height());
  return ui_.ViewArea->image().copy(area);
}

void MainPicture::ExportImageClick() {
  const auto chosen = dialogs().saveImageFileName(&form_, state_.lastImageName);
  if (!chosen) return;
  state_.lastImageName = *chosen;
  writePngFile(shownPicture(), toLocal(*chosen));
}

void MainPicture::RecordFramesClick() {
  PictureState& p = state_;
  if (!p.RecordFrames->isChecked()) {
    finishRecording();
    return;
  }
  const auto choice = dialogs().recordingChoice(&form_, p.recording);
  if (!choice) {
    p.RecordFrames->setChecked(false);
    return;
  }
  p.recording = *choice;
  p.recording.every = std::max(1, p.recording.every);
  if (!p.recorder) p.recorder = std::make_unique<FrameRecorder>();
  p.recorder->start(FrameRecorder::folderFor(p.recording.folder));
  p.recordFrom = app_.set.Time;
  p.lastFrameStep.reset();
  recordFrame();  // the picture as it is now comes first
}

// Frames follow the steps, not the screen: one every `every` steps, so a
// video plays at the same pace on any machine.
void MainPicture::recordFrame() {
  PictureState& p = state_;
  if (!p.RecordFrames->isChecked() || !p.recorder) return;
  const std::int32_t step = app_.set.Time;
  if (step < p.recordFrom) p.recordFrom = step;  // another set was loaded
  if ((std::int64_t(step) - p.recordFrom) % p.recording.every != 0 || p.lastFrameStep == step) return;
  p.lastFrameStep = step;
  QString stamp;
  if (p.recording.stamp)
    stamp = TMainForm::tr("step %1   time %2")
                .arg(QString::number(step), realText(static_cast<Real>(step) * app_.set.Dt));
  if (!p.recorder->add(shownPicture(), stamp)) recordingFailed();
}

bool MainPicture::frameDue() const {
  const PictureState& p = state_;
  if (!p.RecordFrames->isChecked() || !p.recorder) return false;
  const std::int32_t step = app_.set.Time;
  const std::int32_t from = std::min(step, p.recordFrom);
  return (std::int64_t(step) - from) % p.recording.every == 0 && p.lastFrameStep != step;
}

void MainPicture::finishRecording() {
  PictureState& p = state_;
  if (!p.recorder) return;
  p.recorder->finish();
  if (!p.recorder->error().isEmpty()) recordingFailed();
}

// One error box, naming the file, and the recording is over.
void MainPicture::recordingFailed() {
  PictureState& p = state_;
  const QString message = p.recorder->error();
  p.recorder->start(QString());
  p.RecordFrames->setChecked(false);
  showErrorBox(message);
}
