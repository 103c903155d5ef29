#pragma once
#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app_state.h"
#include "force_chart.h"
#include "number_field.h"
#include "state/set_snapshot.h"

class QKeyEvent;
class QLineEdit;
class QPushButton;
class QWindow;

namespace Ui {
class TEditDlg;
}

// The particle editor: edits one particle at a time, dt and the ten force
// parameters of the shared set, saves the set, and measures distances
// between the particles its grid lists. It has no copy of the set.
class TEditDlg : public QDialog {
  Q_OBJECT

 public:
  // taoscopeChecked reads the main window's Taoscope button when the grid's
  // header is written.
  TEditDlg(AppState& app, std::function<bool()> taoscopeChecked, QWidget* parent = nullptr);
  ~TEditDlg() override;

  Ui::TEditDlg& form() { return *ui; }

  void fillEditorGrid();
  void loadEditorFields();
  // Reloads every field from the set; runs when the window system shows,
  // exposes or resizes the dialog.
  void FormPaint();

  void DaonsTableSelectCell();
  void DaonsTableClick();
  void DaonsTableDblClick();
  void SubmitClick();
  void OKBtnClick();
  void SaveasClick();

  // Key filters of the nine numeric fields; true when the key is swallowed.
  bool EditDTKeyPress(QKeyEvent* event);
  bool EditA1KeyPress(QKeyEvent* event);
  bool EditB1KeyPress(QKeyEvent* event);
  bool EditXKeyPress(QKeyEvent* event);
  bool EditYKeyPress(QKeyEvent* event);
  bool EditZKeyPress(QKeyEvent* event);
  bool EditVKeyPress(QKeyEvent* event);
  bool EditUKeyPress(QKeyEvent* event);
  bool EditWKeyPress(QKeyEvent* event);

  void Calculate1Click();
  void Calculate2Click();
  void Calculate3Click();
  void Calculate4Click();
  void Reset1Click();
  void Reset2Click();
  void Reset3Click();
  void Reset4Click();

  // The grid as the calculators read it: row 0 is the header, rows 1 to 60
  // the particles, anything else empty.
  QString gridText(int column, int row) const;
  // The particle whose row is selected (1 to 60).
  int currentParticle() const;
  // What the force charts are drawn for: the parameters in the fields (the
  // set's where a field holds no number) and the PES group of the particle.
  ChartLaws chartLaws() const;

  bool EditorShowVelocities = false;

  // The changes of one showing, each with the set before it: one for every
  // Yes, Save As and OK that changed the set. The caller takes them after OK.
  struct Step {
    QString text;
    zentrova::SetSnapshot before;
  };
  std::vector<Step> takeSteps() { return std::exchange(steps_, {}); }
  // Whether OK wrote the set to a file in this showing.
  bool savedOnOk() const { return savedOnOk_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Calculator {
    QLineEdit* first;
    QLineEdit* second;
    QLineEdit* result;
  };

  void storeParameters();
  std::optional<QString> askSaveName();
  void calculate(const Calculator& c);
  void reset(const Calculator& c);
  void repaintRequested();
  void updateCharts();

  AppState& app_;
  std::function<bool()> taoscopeChecked_;
  std::unique_ptr<Ui::TEditDlg> ui;
  Calculator calculators_[4];
  ShownNumbers shown_;
  QString lastSaveName_;
  bool ready_ = false;
  // While a handler waits in a nested dialog, a repaint must not reload the
  // fields it is about to read.
  int busy_ = 0;
  bool firstShow_ = true;
  QPointer<QWindow> watchedWindow_;
  void noteStep(const QString& text, const zentrova::SetSnapshot& before);
  // The set as the dialog found it, which Cancel brings back.
  std::optional<zentrova::SetSnapshot> opened_;
  std::vector<Step> steps_;
  bool savedOnOk_ = false;
};
