#pragma once
#include <QString>
#include <chrono>

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
  QString framesFolder;
  int frameNumber = 0;
  std::chrono::steady_clock::time_point lastKeepFit{};
  int dragButton = 0;  // Qt::MouseButton held on the view, 0 for none
};
