#pragma once
#include <QString>

// What Record Frames asks for: the folder, a frame every so many steps, and
// whether each frame carries its step and time.
struct RecordingChoice {
  QString folder;
  int every = 10;
  bool stamp = false;
};
