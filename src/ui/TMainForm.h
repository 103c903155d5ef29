#pragma once
#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "app_state.h"

namespace Ui {
class TMainForm;
}
class QDialog;
class QKeyEvent;
class QLineEdit;
class QUndoStack;
class TMonitor;
class MainCommentary;
class MainFiles;
class MainHistory;
class MainListing;
class MainMarks;
class MainParameters;
class MainPicture;
class MainRun;
class MainView;
struct PictureState;

// The main window: the 3-D view, the listing, the parameters and the run.
// Each responsibility is a part the window owns (main_*.h); the window holds
// the handlers by the names of their control and event and hands each to its
// part.
class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  explicit TMainForm(AppState& app, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The windows created after this one, shown by File > New and Help > About.
  void setEditor(QDialog* editor) { editor_ = editor; }
  void setAboutBox(QDialog* about) { about_ = about; }
  QDialog* editor() const { return editor_; }

  Ui::TMainForm& form() { return *ui; }
  AppState& app() { return app_; }
  bool taoscopeChecked() const;
  bool running() const { return !app_.set.Stopped; }
  bool commentChanged() const;
  int panTop() const;

  // The parts.
  MainFiles& files() { return *files_; }
  MainCommentary& commentary() { return *commentary_; }
  MainHistory& history() { return *history_; }
  MainListing& listing() { return *listing_; }
  MainParameters& parameters() { return *parameters_; }
  MainPicture& pictureCommands() { return *picture_; }
  MainRun& run() { return *run_; }
  MainView& view() { return *view_; }
  // Made after the others; null until then.
  MainMarks* marks() const { return marks_.get(); }

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

  // Picture commands.
  void FitToViewClick();
  void KeepInViewClick();
  void TrailsClick();
  void PointSizeClick(int size);
  void ExportImageClick();
  void RecordFramesClick();
  void ViewAreaWheel(int angleDelta);
  void ViewAreaDrag(int x, int y);
  PictureState& picture();

  void Help1Click();
  void RusHelpClick();
  void PolHelpClick();
  void About1Click();
  // Every key of the window and what it does.
  void Keyboard1Click();
  QString keyboardText() const;

  // The Monitor window and the Run menu.
  void Monitor1Click();
  void GoStopClick();
  void StepOnceClick();
  void SpeedClick(int stepsPerSecond);  // 0: full speed
  TMonitor* monitor() const;
  // Undo and Redo of the changes of the set.
  QUndoStack* undoStack() const;
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
  bool commentWritable() const;

  // Sees every key of the application first; true when it took the key.
  bool filterKey(QObject* watched, QEvent* event);
  // The maroon of the velocity reset button.
  static QString null00Style();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void connectHandlers();
  void setUpKeys();
  void setUpLooks();
  bool isMenuShortcut(const QKeyEvent* key) const;
  // Size, place and the splitter, as the window was last closed.
  bool restoreLayout();
  void saveLayout() const;

  AppState& app_;
  std::unique_ptr<Ui::TMainForm> ui;
  QDialog* editor_ = nullptr;
  QDialog* about_ = nullptr;
  QObject* keyRouter_ = nullptr;  // hands the application's keys to filterKey
  QTimer* Timer = nullptr;
  bool exposeWatched_ = false;
  bool centred_ = false;  // placed in the middle of the screen at its first show

  // Declared after `ui`, so that they go before the controls they use.
  std::unique_ptr<MainHistory> history_;
  std::unique_ptr<MainListing> listing_;
  std::unique_ptr<MainParameters> parameters_;
  std::unique_ptr<MainView> view_;
  std::unique_ptr<MainPicture> picture_;
  std::unique_ptr<MainCommentary> commentary_;
  std::unique_ptr<MainFiles> files_;
  std::unique_ptr<MainRun> run_;
  std::unique_ptr<MainMarks> marks_;
};
