#pragma once
#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_state.h"
#include "dynamics/step.h"
#include "files/text_codec.h"
#include "state/particle_record.h"
#include "state/set_snapshot.h"

namespace Ui {
class TMainForm;
}
class QDialog;
class QKeyEvent;
class QLineEdit;
class QUndoStack;
class QImageCanvas;
class TMonitor;
struct PictureState;
namespace zentrova {
class Trails;
struct Scene;
}

// The main window: the 3-D view, the listing, the parameters and the run.
class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(AppState& app, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The windows created after this one, shown by File > New and Help > About.
  void setEditor(QDialog* editor) { editor_ = editor; }
  void setAboutBox(QDialog* about) { about_ = about; }

  Ui::TMainForm& form() { return *ui; }
  bool taoscopeChecked() const;
  bool running() const { return !app_.set.Stopped; }
  bool commentChanged() const { return CommentChanged; }

  // Handlers, named after their control and event.
  void FormCreate();
  void fillListing();
  void DaonsTableDblClick();
  void EditDTExit();
  // Stores a parameter field's value (EditA1 ... EditD3), as leaving it does.
  void ParameterExit(QLineEdit* field);
  void Exit1Click();

  void GoClick();
  void runSteps(std::int32_t n);
  void LTimeDblClick();

  void FormPaint();
  void FormResize();
  void FormMouseDown(Qt::MouseButton button, int x, int y);
  void FormMouseUp(Qt::MouseButton button, int x, int y);
  void DaoTetaClick();
  void DaoTeta1Click();
  void DaoPsiClick();
  void DaoPsi1Click();
  void DaoPhiClick();
  void DaoPhi1Click();
  void DaoStopClick();
  void DaoBackClick();
  void DaoForvardClick();
  void TrackBarChange();
  void TimerTimer();
  void ShowSpinClick();
  void ShowNumbersOfPointsClick();
  void MoveToCenterClick();
  void Left1Click();
  void Right1Click();
  void Up1Click();
  void Down1Click();

  void DrawTaons();
  void DrawFigure();
  void RedrawView();

  void Spiral1Click();
  void Daons1Click();
  void loadCommentary();
  void CommentChange();
  void CommentExit();
  void saveComment();
  void commentCloseCheck();

  void New1Click();
  void Open1Click();
  void Save1Click();
  void Saveas1Click();
  void Null00Click();

  // Picture commands (main_picture.cpp).
  void FitToViewClick();
  void KeepInViewClick();
  void TrailsClick();
  void PointSizeClick(int size);
  void ExportImageClick();
  void RecordFramesClick();
  void ViewAreaWheel(int angleDelta);
  void ViewAreaDrag(int x, int y);
  PictureState& picture() { return *picture_; }

  void Help1Click();
  void RusHelpClick();
  void PolHelpClick();
  void About1Click();

  // The Monitor window and the Run menu.
  void Monitor1Click();
  void GoStopClick();
  void StepOnceClick();
  void SpeedClick(int stepsPerSecond);  // 0: full speed
  TMonitor* monitor() const { return monitor_; }
  // Undo and Redo of the changes of the set (main_undo.cpp).
  QUndoStack* undoStack() const { return undo_; }
  void Undo1Click();
  void Redo1Click();
  // Brings the window in line with a set put back by Undo or Redo.
  void showRestoredSet();
  // Whether the set differs from what was last opened or saved, compared as
  // the record Save would write.
  bool setChanged() const;
  static QString runText(std::int64_t steps);
  static QString singleStepsText(std::int64_t steps);
  // Whether the commentary field may be saved (not when its file was refused).
  bool commentWritable() const { return commentRefusal_.isEmpty(); }

  // Sees every key of the application first; true when it took the key.
  bool filterKey(QObject* watched, QEvent* event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void connectHandlers();
  void connectRunControl();
  void paceRun();
  void noteRunFault(const char* message, std::int32_t step);
  // One step of a run or of Step Once: computed, counted, drawn, listed.
  void stepAndShow(std::int32_t n, bool list);
  void setUpKeys();
  void setUpLooks();
  void setUpListing();
  void showListingHeader(int row, int col, const QString& text);
  static QString null00Style();
  bool isMenuShortcut(const QKeyEvent* key) const;
  void showParameters();
  void setRefresh();
  void showIdle();
  void showRunning();
  void stopRun();
  void setLamp(bool runningColours);
  zentrova::StepControls readStepControls() const;
  std::unique_ptr<QImageCanvas> canvas();
  int panTop() const;
  void schedulePaint();
  void runCommand(const std::function<void()>& command);
  void runRepaint(const std::function<void()>& repaint);
  void reportFault(std::exception_ptr fault);
  template <class Draw>
  void withScene(Draw&& draw);
  // withScene for code outside main_view.cpp.
  void drawWith(const std::function<void(const zentrova::Scene&)>& draw);
  void setUpUndo();
  void updateUndoActions();
  void pushChange(const QString& text, const zentrova::SetSnapshot& before, int mergeId = -1,
                  std::int64_t steps = 1);
  void pushChangeBetween(const QString& text, const zentrova::SetSnapshot& before,
                         const zentrova::SetSnapshot& after, int mergeId = -1, std::int64_t steps = 1);
  void clearUndo();
  void markSaved();
  void updateTitle();
  QString setDisplayName() const;
  // "Save changes to NAME?" when the set changed; false when the user cancels.
  bool askSaveChanges();
  // The set refresh of Open and New, drawing last.
  void showNewSet(bool fitWhenUnseen);
  void refuseCommentary(const QString& why);
  // The field's text as the bytes its file would get.
  std::string commentBytes() const;
  std::string commentUtf8() const;
  void showCommentText(const std::string& utf8);
  void setupPictureCommands();
  const zentrova::Trails* shownTrails() const;
  int pointSize() const;
  int fitTopInset() const;
  void clearTrails();
  void recordTrails();
  void keepInView();
  void recordFrame();
  void finishRecording();
  void recordingFailed();
  QImage shownPicture();

  AppState& app_;
  std::unique_ptr<Ui::TMainForm> ui;
  QDialog* editor_ = nullptr;
  QDialog* about_ = nullptr;
  QObject* keyRouter_ = nullptr;  // hands the application's keys to filterKey
  QTimer* Timer = nullptr;
  bool ShowVelocities = false;
  bool ShowTime = false;
  bool CommentChanged = false;
  bool commentAskOnGo_ = false;  // the memo was left by a click on Go
  bool paintPending_ = false;
  bool drawFaultReported_ = false;  // repaints that fail again stay silent
  bool faultBoxUp_ = false;
  bool exposeWatched_ = false;
  bool centred_ = false;  // placed in the middle of the screen at its first show
  bool resizePending_ = false;
  QString lastOpenName_, lastSaveName_;
  TMonitor* monitor_ = nullptr;
  int stepsPerSecond_ = 0;
  std::chrono::steady_clock::time_point nextStepAt_{};
  std::unique_ptr<PictureState> picture_;
  QUndoStack* undo_ = nullptr;
  int undoGeneration_ = 0;  // grows whenever the stack is cleared
  zentrova::ParticleRecord savedRecord_;  // what was last opened or saved
  std::string savedName_;
  bool titleMarked_ = false;
  std::int64_t runStepsDone_ = 0;
  QList<QLineEdit*> parameterFields_;
  // The commentary as last loaded or saved (its bytes), the encoding of its
  // file, and why its file was refused (empty when it was not).
  std::string savedComment_;
  bool commentHadMark_ = false;
  std::vector<std::string> commentSeparators_;  // the file's own line ends
  QString commentRefusal_;
  zentrova::TextEncoding commentEncoding_ = zentrova::TextEncoding::Utf8;
};
