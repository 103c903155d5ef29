// The picture commands of the main window: fit and keep in view, the wheel
// zoom, the picture that follows a drag, trails, the point size, and the
// exported image and recorded frames. The work is done by the view core.
#include <QActionGroup>
#include <QMenu>
#include <algorithm>
#include <utility>

#include "TMainForm.h"
#include "dialogs.h"
#include "error_box.h"
#include "main_picture.h"
#include "png_file.h"
#include "state/errors.h"
#include "ui_TMainForm.h"
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

void TMainForm::setupPictureCommands() {
  PictureState& p = *picture_;
  p.FitToView = ui->FitToView;
  p.KeepInView = ui->KeepInView;
  p.Trails = ui->Trails;
  p.PointSize = ui->PointSize;
  p.ExportImage = ui->ExportImage;
  p.RecordFrames = ui->RecordFrames;
  auto* sizes = new QActionGroup(this);
  for (const auto& choice : {std::pair{ui->PointSize2, 2}, std::pair{ui->PointSize3, 3}, std::pair{ui->PointSize5, 5}}) {
    const int size = choice.second;
    sizes->addAction(choice.first);
    connect(choice.first, &QAction::triggered, this, [this, size] { runGuarded([this, size] { PointSizeClick(size); }); });
  }

  const auto on = [this](QAction* a, void (TMainForm::*handler)()) {
    connect(a, &QAction::triggered, this, [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
  };
  on(p.FitToView, &TMainForm::FitToViewClick);
  on(p.KeepInView, &TMainForm::KeepInViewClick);
  on(p.Trails, &TMainForm::TrailsClick);
  on(p.ExportImage, &TMainForm::ExportImageClick);
  on(p.RecordFrames, &TMainForm::RecordFramesClick);

  connect(ui->ViewArea, &TViewArea::pressed, this, [this](Qt::MouseButton b, int, int) {
    if (!picture_->dragButton) picture_->dragButton = int(b);
  });
  connect(ui->ViewArea, &TViewArea::released, this, [this](Qt::MouseButton b, int, int) {
    if (picture_->dragButton == int(b)) picture_->dragButton = 0;
  });
  connect(ui->ViewArea, &TViewArea::dragged, this, [this](int x, int y) { ViewAreaDrag(x, y); });
  connect(ui->ViewArea, &TViewArea::wheeled, this,
          [this](int delta) { runGuarded([this, delta] { ViewAreaWheel(delta); }); });
}

const Trails* TMainForm::shownTrails() const {
  return picture_->Trails && picture_->Trails->isChecked() ? &picture_->trails : nullptr;
}
int TMainForm::pointSize() const { return picture_->pointSize; }

int TMainForm::fitTopInset() const { return ui->Blockade->geometry().bottom() + 1; }

void TMainForm::FitToViewClick() {
  drawWith([&](const Scene& scene) { FitToView(scene, fitTopInset()); });
}

void TMainForm::KeepInViewClick() {}  // the check mark is the state; the run reads it

void TMainForm::TrailsClick() {
  picture_->trails.clear();  // a trail starts when it is switched on
  RedrawView();
}

void TMainForm::PointSizeClick(int size) {
  picture_->pointSize = size;
  RedrawView();
}

void TMainForm::ViewAreaWheel(int angleDelta) {
  if (angleDelta == 0) return;
  drawWith([&](const Scene& scene) { WheelZoom(scene, angleDelta / 120.0L); });
}

void TMainForm::ViewAreaDrag(int x, int y) {
  const int button = picture_->dragButton;
  if (!button) return;
  // A preview that cannot be drawn leaves the last picture; the release
  // reports the fault.
  try {
    drawWith([&](const Scene& scene) {
      DrawDragPreview(scene, previewButton(button), x, y, ui->ShowSpin->isChecked());
    });
  } catch (const zentrova::AppError&) {
  }
}

void TMainForm::clearTrails() { picture_->trails.clear(); }

void TMainForm::recordTrails() {
  if (shownTrails()) picture_->trails.record(app_.set.drawingSnapshot());
}

void TMainForm::keepInView() {
  PictureState& p = *picture_;
  if (!p.KeepInView->isChecked() || app_.set.FigureMode) return;
  const auto now = std::chrono::steady_clock::now();
  const bool mayWait = now - p.lastKeepFit < kKeepInViewInterval;
  drawWith([&](const Scene& scene) {
    if (KeepInView(scene, fitTopInset(), mayWait)) p.lastKeepFit = now;
  });
}

QImage TMainForm::shownPicture() {
  const QRect area = QRect(0, 0, width(), panTop()).intersected(ui->ViewArea->rect());
  ui->ViewArea->ensureImageSize(area.width(), area.height());
  return ui->ViewArea->image().copy(area);
}

void TMainForm::ExportImageClick() {
  const auto chosen = dialogs().saveImageFileName(this, picture_->lastImageName);
  if (!chosen) return;
  picture_->lastImageName = *chosen;
  writePngFile(shownPicture(), toLocal(*chosen));
}

void TMainForm::RecordFramesClick() {
  PictureState& p = *picture_;
  if (!p.RecordFrames->isChecked()) {
    finishRecording();
    return;
  }
  const auto choice = dialogs().recordingChoice(this, p.recording);
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
void TMainForm::recordFrame() {
  PictureState& p = *picture_;
  if (!p.RecordFrames->isChecked() || !p.recorder) return;
  const std::int32_t step = app_.set.Time;
  if (step < p.recordFrom) p.recordFrom = step;  // another set was loaded
  if ((std::int64_t(step) - p.recordFrom) % p.recording.every != 0 || p.lastFrameStep == step) return;
  p.lastFrameStep = step;
  QString stamp;
  if (p.recording.stamp)
    stamp = QStringLiteral("step %1   time %2").arg(step).arg(realText(static_cast<Real>(step) * app_.set.Dt));
  if (!p.recorder->add(shownPicture(), stamp)) recordingFailed();
}

void TMainForm::finishRecording() {
  PictureState& p = *picture_;
  if (!p.recorder) return;
  p.recorder->finish();
  if (!p.recorder->error().isEmpty()) recordingFailed();
}

// One error box, naming the file, and the recording is over.
void TMainForm::recordingFailed() {
  PictureState& p = *picture_;
  const QString message = p.recorder->error();
  p.recorder->start(QString());
  p.RecordFrames->setChecked(false);
  showErrorBox(message);
}
