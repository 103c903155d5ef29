#pragma once
#include <QDialog>
#include <memory>
#include <optional>

#include "frame_recorder.h"

namespace Ui {
class TRecordDlg;
}

// Asks where to record frames, how often, and whether to stamp them.
class TRecordDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TRecordDlg(const RecordingChoice& last, QWidget* parent = nullptr);
  ~TRecordDlg() override;
  RecordingChoice choice() const;
  Ui::TRecordDlg& form() { return *ui; }

  void BrowseClick();
  void accept() override;

 private:
  std::unique_ptr<Ui::TRecordDlg> ui;
};

// Shows the dialog; nullopt when cancelled. The folder exists on return.
std::optional<RecordingChoice> askRecording(QWidget* parent, const RecordingChoice& last);
