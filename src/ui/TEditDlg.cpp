#include "TEditDlg.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTableWidgetItem>
#include <QWindow>

#include "dialogs.h"
#include "distance_calculator.h"
#include "error_box.h"
#include "files/set_file.h"
#include "files/startup_file.h"
#include "state/errors.h"
#include "force_chart.h"
#include "key_filter.h"
#include "number_cell.h"
#include "number_field.h"
#include "parameter_fields.h"
#include "ui_TEditDlg.h"

using zentrova::Real;

namespace {

// Text the program puts in a field is read from its first character: the
// sign and the leading digits of a long number are what matter.
void showFieldText(QLineEdit* field, const QString& text) {
  field->setText(text);
  field->setCursorPosition(0);
}

// A small green tick for the "&Yes" button.
QIcon checkMarkIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 128, 0), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath tick;
  tick.moveTo(2.5, 8.5);
  tick.lineTo(6.5, 12.5);
  tick.lineTo(13.5, 3.5);
  p.drawPath(tick);
  return QIcon(pixmap);
}

}  // namespace

TEditDlg::TEditDlg(AppState& app, std::function<bool()> taoscopeChecked, QWidget* parent)
    : QDialog(parent), app_(app), taoscopeChecked_(std::move(taoscopeChecked)), ui(std::make_unique<Ui::TEditDlg>()) {
  ui->setupUi(this);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
  ui->Submit->setIcon(checkMarkIcon());

  // Row 0 of the grid is its header; column 0 holds the particle numbers and
  // looks and behaves like a fixed column.
  QTableWidget* grid = ui->DaonsTable;
  grid->setWordWrap(false);
  grid->setItemDelegate(new NumberCellDelegate(grid));  // a number too wide is shortened, never cut
  grid->horizontalHeader()->setFixedHeight(grid->verticalHeader()->defaultSectionSize());
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  for (int c = 0; c < grid->columnCount(); ++c) grid->setHorizontalHeaderItem(c, new QTableWidgetItem);
  const QBrush fixedBrush = grid->palette().button();
  for (int r = 0; r < grid->rowCount(); ++r) {
    for (int c = 0; c < grid->columnCount(); ++c) {
      auto* item = new QTableWidgetItem;
      if (c == 0) {
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(fixedBrush);
      } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      }
      grid->setItem(r, c, item);
    }
  }
  grid->setCurrentCell(0, 1);

  connect(grid, &QTableWidget::currentCellChanged, this, [this](int row, int column, int, int) {
    if (!ready_ || row < 0) return;
    if (column == 0) {
      ui->DaonsTable->setCurrentCell(row, 1);  // re-enters with column 1
      return;
    }
    runGuarded([this] {
      DaonsTableSelectCell();
      DaonsTableClick();
    });
  });
  connect(grid, &QTableWidget::cellClicked, this, [this] { runGuarded([this] { DaonsTableClick(); }); });
  connect(grid, &QTableWidget::cellDoubleClicked, this, [this] { runGuarded([this] { DaonsTableDblClick(); }); });

  connect(ui->Submit, &QPushButton::clicked, this, [this] { runGuarded([this] { SubmitClick(); }); });
  connect(ui->Saveas, &QPushButton::clicked, this, [this] { runGuarded([this] { SaveasClick(); }); });
  // OK closes with OK whatever its handler did.
  connect(ui->OKBtn, &QPushButton::clicked, this, [this] {
    runGuarded([this] { OKBtnClick(); });
    accept();
  });
  connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  calculators_[0] = {ui->EditCal1Part1, ui->EditCal1Part2, ui->EditResult1};
  calculators_[1] = {ui->EditCal2Part1, ui->EditCal2Part2, ui->EditResult2};
  calculators_[2] = {ui->EditCal3Part1, ui->EditCal3Part2, ui->EditResult3};
  calculators_[3] = {ui->EditCal4Part1, ui->EditCal4Part2, ui->EditResult4};
  const std::pair<QPushButton*, void (TEditDlg::*)()> buttons[] = {
      {ui->Calculate1, &TEditDlg::Calculate1Click}, {ui->Calculate2, &TEditDlg::Calculate2Click},
      {ui->Calculate3, &TEditDlg::Calculate3Click}, {ui->Calculate4, &TEditDlg::Calculate4Click},
      {ui->Reset1, &TEditDlg::Reset1Click},         {ui->Reset2, &TEditDlg::Reset2Click},
      {ui->Reset3, &TEditDlg::Reset3Click},         {ui->Reset4, &TEditDlg::Reset4Click}};
  for (const auto& [button, handler] : buttons)
    connect(button, &QPushButton::clicked, this, [this, h = handler] { runGuarded([this, h] { (this->*h)(); }); });

  for (QLineEdit* field : {ui->EditDT, ui->EditA1, ui->EditB1, ui->EditX, ui->EditY, ui->EditZ, ui->EditV, ui->EditU,
                           ui->EditW})
    field->installEventFilter(this);
  // The charts follow the parameters as they are typed.
  for (QLineEdit* field : {ui->EditA1, ui->EditB1, ui->EditA2, ui->EditB2, ui->EditC2, ui->EditD2, ui->EditA3,
                           ui->EditB3, ui->EditC3, ui->EditD3})
    connect(field, &QLineEdit::textEdited, this, [this] { updateCharts(); });
  ready_ = true;
  updateCharts();
}

ChartLaws TEditDlg::chartLaws() const {
  const zentrova::ParticleSet& s = app_.set;
  // A field that does not hold a number yet leaves the set's value in the chart.
  const auto value = [this](const QLineEdit* field, Real fallback) {
    try {
      return shown_.read(field);
    } catch (const zentrova::ConvertError&) {
      return fallback;
    }
  };
  ChartLaws laws;
  laws.a1 = value(ui->EditA1, s.A1);
  laws.b1 = value(ui->EditB1, s.B1);
  laws.pesGroup = zentrova::groupOf(currentParticle(), s.Count) == zentrova::Group::PES2 ? 3 : 2;
  if (laws.pesGroup == 3) {
    laws.a = value(ui->EditA3, s.A3), laws.b = value(ui->EditB3, s.B3);
    laws.c = value(ui->EditC3, s.C3), laws.d = value(ui->EditD3, s.D3);
  } else {
    laws.a = value(ui->EditA2, s.A2), laws.b = value(ui->EditB2, s.B2);
    laws.c = value(ui->EditC2, s.C2), laws.d = value(ui->EditD2, s.D2);
  }
  laws.taoscope = taoscopeChecked_ && taoscopeChecked_();
  return laws;
}

void TEditDlg::updateCharts() {
  ui->Image1->setPixmap(QPixmap::fromImage(drawForceCharts(ui->Image1->size(), chartLaws())));
}

TEditDlg::~TEditDlg() = default;

int TEditDlg::currentParticle() const {
  const int row = ui->DaonsTable->currentRow();
  return row < 0 ? 1 : row + 1;
}

QString TEditDlg::gridText(int column, int row) const {
  const QTableWidget* grid = ui->DaonsTable;
  if (column < 0 || column >= grid->columnCount() || row < 0 || row > grid->rowCount()) return {};
  const QTableWidgetItem* item = row == 0 ? grid->horizontalHeaderItem(column) : grid->item(row - 1, column);
  return item ? item->text() : QString();
}

void TEditDlg::fillEditorGrid() {
  QTableWidget* grid = ui->DaonsTable;
  const zentrova::ParticleSet& s = app_.set;
  if (EditorShowVelocities) {
    grid->horizontalHeaderItem(0)->setText(tr("Velo"));
    grid->horizontalHeaderItem(1)->setText(QStringLiteral("u(x)"));
    grid->horizontalHeaderItem(2)->setText(QStringLiteral("u(y)"));
    grid->horizontalHeaderItem(3)->setText(QStringLiteral("u(z)"));
  } else {
    grid->horizontalHeaderItem(0)->setText(taoscopeChecked_ && taoscopeChecked_() ? tr("Taons") : tr("Gravons"));
    grid->horizontalHeaderItem(1)->setText(QStringLiteral("X"));
    grid->horizontalHeaderItem(2)->setText(QStringLiteral("Y"));
    grid->horizontalHeaderItem(3)->setText(QStringLiteral("Z"));
  }
  const int count = std::min<int>(s.Count, grid->rowCount());
  for (int i = 1; i <= count; ++i) grid->item(i - 1, 0)->setText(QString::number(i));
  for (int i = 1; i <= count; ++i) {
    const bool present = s.present(i);
    const auto& a = EditorShowVelocities ? s.Ux : s.X;
    const auto& b = EditorShowVelocities ? s.Uy : s.Y;
    const auto& c = EditorShowVelocities ? s.Uz : s.Z;
    grid->item(i - 1, 1)->setText(present ? realText(a[i - 1]) : QString());
    grid->item(i - 1, 2)->setText(present ? realText(b[i - 1]) : QString());
    grid->item(i - 1, 3)->setText(present ? realText(c[i - 1]) : QString());
  }
}

void TEditDlg::loadEditorFields() {
  const int n = currentParticle();
  const zentrova::ParticleSet& s = app_.set;
  ui->NumberOfTaon->setText(QString::number(n));
  shown_.show(ui->EditX, s.X[n - 1]);
  shown_.show(ui->EditY, s.Y[n - 1]);
  shown_.show(ui->EditZ, s.Z[n - 1]);
  shown_.show(ui->EditV, s.Ux[n - 1]);
  shown_.show(ui->EditU, s.Uy[n - 1]);
  shown_.show(ui->EditW, s.Uz[n - 1]);
  ui->DaoTrue->setChecked(s.present(n));
  if (ready_) updateCharts();  // the particle's group may have changed
}

void TEditDlg::FormPaint() {
  const zentrova::ParticleSet& s = app_.set;
  showFieldText(ui->EditFileName, fromLocal(s.SetFileName));
  loadEditorFields();
  for (const zentrova::NamedParameter& p : zentrova::namedParameters())
    shown_.show(parameterField(this, p), s.*p.field);
  fillEditorGrid();
  updateCharts();
}

void TEditDlg::repaintRequested() {
  if (busy_ == 0) runGuarded([this] { FormPaint(); });
}

void TEditDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {  // opened, not merely uncovered
    opened_.emplace(app_.set);
    steps_.clear();
    savedOnOk_ = false;
  }
  if (firstShow_) {
    firstShow_ = false;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }
  if (QWindow* window = windowHandle(); window && window != watchedWindow_) {
    window->installEventFilter(this);
    watchedWindow_ = window;
  }
  repaintRequested();
}

void TEditDlg::done(int result) {
  if (result == QDialog::Rejected && opened_) {
    // Cancel undoes what Yes and Save As stored.
    opened_->restoreInto(app_.set);
    steps_.clear();
  }
  opened_.reset();
  QDialog::done(result);
}

void TEditDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (isVisible()) repaintRequested();
}

bool TEditDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watchedWindow_ && watched == watchedWindow_ && event->type() == QEvent::Expose) {
    if (watchedWindow_->isExposed()) repaintRequested();
    return false;
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == ui->EditDT) return EditDTKeyPress(key);
    if (watched == ui->EditA1) return EditA1KeyPress(key);
    if (watched == ui->EditB1) return EditB1KeyPress(key);
    if (watched == ui->EditX) return EditXKeyPress(key);
    if (watched == ui->EditY) return EditYKeyPress(key);
    if (watched == ui->EditZ) return EditZKeyPress(key);
    if (watched == ui->EditV) return EditVKeyPress(key);
    if (watched == ui->EditU) return EditUKeyPress(key);
    if (watched == ui->EditW) return EditWKeyPress(key);
  }
  return QDialog::eventFilter(watched, event);
}

bool TEditDlg::EditDTKeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditA1KeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditB1KeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditXKeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditYKeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditZKeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditVKeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditUKeyPress(QKeyEvent* event) { return numericKeyRejected(event); }
bool TEditDlg::EditWKeyPress(QKeyEvent* event) { return numericKeyRejected(event); }

void TEditDlg::DaonsTableSelectCell() { loadEditorFields(); }

void TEditDlg::DaonsTableClick() {
  loadEditorFields();
  fillEditorGrid();
}

void TEditDlg::DaonsTableDblClick() {
  EditorShowVelocities = !EditorShowVelocities;
  fillEditorGrid();
}

void TEditDlg::noteStep(const QString& text, const zentrova::SetSnapshot& before) {
  if (!zentrova::sameSet(before, zentrova::SetSnapshot(app_.set))) steps_.push_back({text, before});
}

void TEditDlg::SubmitClick() {
  const int n = zentrova::parseInt(toLocal(ui->NumberOfTaon->text()));
  if (n < 1 || n > std::min<int>(app_.set.Count, zentrova::kMaxParticles)) return;
  zentrova::ParticleSet& s = app_.set;
  const zentrova::SetSnapshot before(s);
  struct Note {
    TEditDlg* dlg;
    const zentrova::SetSnapshot& before;
    int n;
    ~Note() { dlg->noteStep(TEditDlg::tr("Edit of Particle %1").arg(n), before); }
  } note{this, before, n};
  // Each value is stored as soon as it converts; a bad field stops here.
  s.X[n - 1] = shown_.read(ui->EditX);
  s.Y[n - 1] = shown_.read(ui->EditY);
  s.Z[n - 1] = shown_.read(ui->EditZ);
  s.Ux[n - 1] = shown_.read(ui->EditV);
  s.Uy[n - 1] = shown_.read(ui->EditU);
  s.Uz[n - 1] = shown_.read(ui->EditW);
  s.setPresent(n, ui->DaoTrue->isChecked());
  fillEditorGrid();
}

void TEditDlg::storeParameters() {
  zentrova::ParticleSet& s = app_.set;
  for (const zentrova::NamedParameter& p : zentrova::namedParameters())
    s.*p.field = shown_.read(parameterField(this, p));
}

std::optional<QString> TEditDlg::askSaveName() {
  struct Busy {
    int& n;
    explicit Busy(int& c) : n(c) { ++n; }
    ~Busy() { --n; }
  } busy(busy_);
  const std::optional<QString> name = dialogs().saveSetFileName(this, lastSaveName_);
  if (name) lastSaveName_ = *name;
  return name;
}

void TEditDlg::OKBtnClick() {
  const std::optional<QString> name = askSaveName();
  if (!name) return;
  const std::string path = toLocal(*name);
  zentrova::ParticleSet& s = app_.set;
  const zentrova::SetSnapshot before(s);
  struct Note {
    TEditDlg* dlg;
    const zentrova::SetSnapshot& before;
    ~Note() { dlg->noteStep(TEditDlg::tr("Edit of Parameters"), before); }
  } note{this, before};
  storeParameters();
  zentrova::saveSet(s, app_.record, path);
  savedOnOk_ = true;
  s.SetFileName = path;
  s.StartName = s.SetFileName;
  zentrova::writeStartupFile(app_.startupPath, s.StartName);
  storeParameters();
  const int count = std::min<int>(s.Count, zentrova::kMaxParticles);
  for (int i = 1; i <= count; ++i)
    if (s.present(i)) s.alignParticle(i);
}

void TEditDlg::SaveasClick() {
  const std::optional<QString> name = askSaveName();
  if (!name) return;
  showFieldText(ui->EditFileName, *name);
  const zentrova::SetSnapshot before(app_.set);
  struct Note {
    TEditDlg* dlg;
    const zentrova::SetSnapshot& before;
    ~Note() { dlg->noteStep(TEditDlg::tr("Edit of Parameters"), before); }
  } note{this, before};
  storeParameters();
  zentrova::saveSet(app_.set, app_.record, toLocal(*name));
}

void TEditDlg::calculate(const Calculator& c) {
  const auto cell = [this](int column, int row) { return toLocal(gridText(column, row)); };
  const std::string d =
      zentrova::gridDistance(toLocal(c.first->text()), toLocal(c.second->text()), cell, decimalSeparator());
  showFieldText(c.result, QString::fromLatin1(d.c_str()));
}

void TEditDlg::reset(const Calculator& c) {
  c.first->setText(QStringLiteral("0"));
  c.second->setText(QStringLiteral("0"));
  c.result->setText(QStringLiteral("0"));
}

void TEditDlg::Calculate1Click() { calculate(calculators_[0]); }
void TEditDlg::Calculate2Click() { calculate(calculators_[1]); }
void TEditDlg::Calculate3Click() { calculate(calculators_[2]); }
void TEditDlg::Calculate4Click() { calculate(calculators_[3]); }
void TEditDlg::Reset1Click() { reset(calculators_[0]); }
void TEditDlg::Reset2Click() { reset(calculators_[1]); }
void TEditDlg::Reset3Click() { reset(calculators_[2]); }
void TEditDlg::Reset4Click() { reset(calculators_[3]); }
