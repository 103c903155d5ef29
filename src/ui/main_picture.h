#pragma once
#include <QString>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

#include "frame_recorder.h"

#include "view/trails.h"

class QAction;
class QMenu;

// The main window's picture commands and what they keep between events:
// fit, keep in view, trails, point size, export and recorded frames.
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
