#pragma once
#include <QImage>
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "frame_recorder.h"
#include "main_part.h"
#include "view/trails.h"

class QAction;
class QMenu;

// What the picture commands keep between events.
struct PictureState {
  QAction* FitToView = nullptr;
  QAction* KeepInView = nullptr;
  QAction* Trails = nullptr;
  QMenu* PointSize = nullptr;
  QAction* ExportImage = nullptr;
  QAction* RecordFrames = nullptr;

  zentrova::Trails trails;
  int pointSize = zentrova::Scene::kDefaultPointSize;
  QString lastImageName;
  RecordingChoice recording;  // as last asked
  std::unique_ptr<FrameRecorder> recorder;
  std::int32_t recordFrom = 0;  // frames at this step and every `recording.every` after
  std::optional<std::int32_t> lastFrameStep;
  std::chrono::steady_clock::time_point lastKeepFit{};
  int dragButton = 0;  // Qt::MouseButton held on the view, 0 for none
};

// The main window's picture commands: fit, keep in view, trails, point size,
// the wheel zoom, the picture that follows a drag, the exported image and
// recorded frames.
class MainPicture : public MainPart {
 public:
  explicit MainPicture(TMainForm& form);

  PictureState& state() { return state_; }
  const zentrova::Trails* shownTrails() const;
  int pointSize() const { return state_.pointSize; }
  // The top of the area a fit may use, below the controls over the view.
  int fitTopInset() const;

  void FitToViewClick();
  void KeepInViewClick();
  void TrailsClick();
  void PointSizeClick(int size);
  void ExportImageClick();
  void RecordFramesClick();
  void ViewAreaWheel(int angleDelta);
  void ViewAreaDrag(int x, int y);

  // What each step of a run does for the picture.
  void clearTrails();
  void recordTrails();
  void keepInView();
  void recordFrame();
  // Whether recordFrame would take a frame of this step.
  bool frameDue() const;
  // Every frame of the run on disk, or its error shown.
  void finishRecording();

 private:
  void recordingFailed();
  QImage shownPicture();

  PictureState state_;
};
