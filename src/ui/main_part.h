#pragma once
#include <QObject>

#include "TMainForm.h"
#include "ui_TMainForm.h"

// What every part of the main window reaches: the window, its controls and
// the application's state. A part is a QObject so that its connections end
// with it.
class MainPart : public QObject {
 public:
  explicit MainPart(TMainForm& form) : form_(form), ui_(form.form()), app_(form.app()) {}

 protected:
  TMainForm& form_;
  Ui::TMainForm& ui_;
  AppState& app_;
};
