#include "TMonitor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <cmath>

#include "analysis/observable_table.h"
#include "analysis/observables_csv.h"
#include "app_state.h"
#include "dialogs.h"
#include "error_box.h"
#include "files/file_io.h"
#include "state/errors.h"
#include "monitor_plots.h"
#include "observable_texts.h"
#include "ui_TMonitor.h"

using namespace zentrova;

namespace {

// While idle the Monitor looks for edits, loads and switches this often; a
// run tells it of its steps. Values and plots are shown at most this often:
// repainting costs far more than measuring, and the eye needs no more.
constexpr int kPollMs = 250;
constexpr qint64 kDisplayMs = 250;
// Measuring a step of a dense set costs a fifth of the step: during a fast
// run the Monitor measures only every so many steps, so that it takes about
// this share of the run's time.
constexpr double kMeasureShare = 0.03;

bool same(const Observables& a, const Observables& b) {
  if (a.notConserved != b.notConserved) return false;
  for (const ObservableColumn& c : observableTable()) {
    const Real x = observableValue(c, a), y = observableValue(c, b);
    if (!(x == y || (std::isnan(x) && std::isnan(y)))) return false;
  }
  return true;
}

QString valueText(const ObservableColumn& c, const Observables& o) {
  const std::string instead = notConservedText(c, o);
  if (!instead.empty()) return observableText(instead.c_str());
  switch (c.kind) {
    case ObservableKind::Count: return QString::number(o.*c.integer);
    case ObservableKind::Flag: return o.*c.integer ? TMonitor::tr("yes") : TMonitor::tr("no");
    case ObservableKind::Particle: return o.*c.integer ? QString::number(o.*c.integer) : QStringLiteral("-");
    case ObservableKind::Real: break;
  }
  if (c.real == &Observables::min_distance && o.min_i == 0) return QStringLiteral("-");
  return realText(o.*c.real);
}

}  // namespace

TMonitor::TMonitor(const ParticleSet& set, std::function<StepControls()> controls, QWidget* parent)
    : QWidget(parent, Qt::Window), set_(set), controls_(std::move(controls)), ui(std::make_unique<Ui::TMonitor>()) {
  ui->setupUi(this);
  buildValues();
  poll_ = new QTimer(this);
  poll_->setInterval(kPollMs);
  connect(poll_, &QTimer::timeout, this, [this] { runGuarded([this] { sample(); }); });
  connect(ui->SaveCsv, &QPushButton::clicked, this, [this] { runGuarded([this] { SaveCsvClick(); }); });
  connect(ui->Compare, &QPushButton::clicked, this, [this] { runGuarded([this] { CompareClick(); }); });
  connect(ui->NoCompare, &QPushButton::clicked, this, [this] { runGuarded([this] { NoCompareClick(); }); });
  rateClock_.start();
}

TMonitor::~TMonitor() = default;

MonitorPlots& TMonitor::plots() { return *ui->Plots; }

void TMonitor::buildValues() {
  int row = ui->ValuesForm->rowCount();
  const int valueWidth = fontMetrics().horizontalAdvance(QStringLiteral("-0.00000123456789012")) + 4;
  ui->LRate->setMinimumWidth(valueWidth);
  for (const ObservableColumn& c : observableTable()) {
    auto* value = new QLabel(QStringLiteral("-"), ui->Values);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(valueWidth);
    value->setToolTip(QString::fromUtf8(c.formula));
    if (c.onlyConserved) value->setWordWrap(true);
    auto* caption = new QLabel(observableText(c.description), ui->Values);
    caption->setToolTip(QString::fromUtf8(c.name));
    ui->ValuesForm->insertRow(row++, caption, value);
    values_.insert(QString::fromLatin1(c.name), value);
  }
  ui->ValuesScroll->setMinimumWidth(ui->Values->sizeHint().width() +
                                    ui->ValuesScroll->verticalScrollBar()->sizeHint().width());
}

// At its first show: as large as the window says, but never beyond the
// screen's free area, beside the main window where there is room.
QRect TMonitor::placement(const QRect& free, const std::optional<QRect>& main, QSize want, QSize least, QSize frame) {
  QSize fit(std::max(least.width(), std::min(want.width(), free.width() - frame.width())),
            std::max(least.height(), std::min(want.height(), free.height() - frame.height())));
  int x = free.left(), y = free.top();
  if (main) {
    // The wider of the two sides of the main window, if the Monitor fits
    // there at its least width: narrower than it would like rather than on
    // top of the main window.
    constexpr int kGap = 8;
    const int right = free.right() + 1 - (main->right() + 1 + kGap), left = main->left() - kGap - free.left();
    const int room = std::max(right, left) - frame.width();
    if (room >= least.width()) {
      fit.setWidth(std::min(fit.width(), room));
      x = right >= left ? main->right() + 1 + kGap : main->left() - kGap - fit.width() - frame.width();
    } else {
      x = main->right() + 1 + kGap;
    }
    y = main->top();
  }
  fit = fit.boundedTo(free.size() - frame);
  const int w = fit.width() + frame.width(), h = fit.height() + frame.height();
  x = std::clamp(x, free.left(), std::max(free.left(), free.right() + 1 - w));
  y = std::clamp(y, free.top(), std::max(free.top(), free.bottom() + 1 - h));
  return QRect(QPoint(x, y), fit);
}

void TMonitor::placeOnScreen() {
  QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
  if (!screen) return;
  QSize frame = frameGeometry().size() - size();
  if (frame.height() <= 0) frame = QSize(16, 40);  // not framed yet: allow for a title bar
  std::optional<QRect> main;
  if (parentWidget()) main = parentWidget()->frameGeometry();
  const QRect r = placement(screen->availableGeometry(), main, size(), minimumSizeHint(), frame);
  resize(r.size());
  move(r.topLeft());
}

void TMonitor::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!placed_) {
    placed_ = true;
    placeOnScreen();
  }
  rateStep_ = set_.Time;  // steps per second count from now
  rateClock_.restart();
  ui->LRate->setText(QStringLiteral("-"));
  sample(true);
  poll_->start();
}

void TMonitor::hideEvent(QHideEvent* event) {
  poll_->stop();
  QWidget::hideEvent(event);
}

// Enter and Esc go to the main window's run, as if typed there.
void TMonitor::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (parentWidget() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
    QKeyEvent copy(QEvent::KeyPress, key, event->modifiers(), event->text());
    QCoreApplication::sendEvent(parentWidget(), &copy);
    return;
  }
  QWidget::keyPressEvent(event);
}

void TMonitor::measureRate(std::int32_t step) {
  const qint64 ms = rateClock_.elapsed();
  if (step < rateStep_) rateStep_ = step;  // another set was loaded
  if (ms < 500) return;
  const double rate = double(step - rateStep_) * 1000.0 / double(ms);
  rateStep_ = step;
  rateClock_.restart();
  ui->LRate->setText(QString::number(rate, 'f', 0));
  if (measureNs_ > 0 && rate > 0) {
    const double every = measureNs_ * 1e-9 * rate / kMeasureShare;
    if (every > double(series_.stride())) series_.raiseStride(std::int64_t(std::min(every, 1e9)));
  }
}

void TMonitor::record(const Observables& o) {
  series_.record(o, !unseen_);
  unseen_ = false;
  latest_ = o;
  displayPending_ = true;
}

void TMonitor::stepTaken() {
  if (!isVisible()) {
    unseen_ = true;  // a gap in the plots, not a line across it
    return;
  }
  if (series_.wants(set_.Time)) {
    QElapsedTimer clock;
    clock.start();
    record(observe(set_, controls_()));
    measureNs_ = double(clock.nsecsElapsed());
  }
  if (!displayClock_.isValid() || displayClock_.elapsed() >= kDisplayMs) sample(true);
}

void TMonitor::sample(bool now) {
  const Observables o = observe(set_, controls_());
  measureRate(o.step);
  if (faultStep_ && (o.step >= *faultStep_ || o.step < *faultStep_ - 1)) {
    faultStep_.reset();  // a later run went past it, or another set was loaded
    ui->LFault->clear();
  }
  if (!latest_ || !same(*latest_, o)) record(o);
  if (!displayPending_) return;
  if (!now && displayClock_.isValid() && displayClock_.elapsed() < kDisplayMs) return;
  display(o);
}

void TMonitor::display(const Observables& o) {
  displayClock_.restart();
  displayPending_ = false;
  for (const ObservableColumn& c : observableTable())
    if (QLabel* label = values_.value(QString::fromLatin1(c.name))) label->setText(valueText(c, o));
  ui->Plots->refresh(series_);
}

void TMonitor::runFaulted(const QString& message, std::int32_t step) {
  faultStep_ = step;
  ui->LFault->setText(tr("Step %1: %2").arg(QString::number(step), windowMessage(message)));
}

QString TMonitor::withCsvExtension(const QString& path) {
  return QFileInfo(path).fileName().contains(QLatin1Char('.')) ? path : path + QStringLiteral(".csv");
}

void TMonitor::writeCsv(const QString& path) const {
  const std::string text = series_.csv();
  writeFileReplacing(toLocal(withCsvExtension(path)), reinterpret_cast<const std::uint8_t*>(text.data()),
                     text.size());
}

void TMonitor::SaveCsvClick() {
  const QString chosen = QFileDialog::getSaveFileName(this, tr("Save the series"), lastCsvName_,
                                                      tr("CSV files (*.csv);;All files (*)"));
  if (chosen.isEmpty()) return;
  const QString path = withCsvExtension(chosen);
  // The dialog asked about the name as typed, not the one with ".csv".
  if (path != chosen && QFileInfo::exists(path) &&
      !dialogs().confirm(this, tr("Save CSV"),
                         tr("%1 already exists. Replace it?").arg(QFileInfo(path).fileName())))
    return;
  lastCsvName_ = path;
  writeCsv(path);
}

void TMonitor::compareWith(const QString& path) {
  // A table of observables has a few hundred bytes a row; this is far more
  // than the Monitor or a long observe writes, and keeps a wrong file from
  // filling the memory.
  constexpr qint64 kMostBytes = qint64(256) << 20;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    throw AppError(tr("Cannot read %1: %2").arg(QFileInfo(path).fileName(), file.errorString()).toStdString());
  if (file.size() > kMostBytes)
    throw AppError(tr("%1 is too large for a table of observables").arg(QFileInfo(path).fileName()).toStdString());
  const QByteArray bytes = file.readAll();
  std::vector<Observables> rows;
  try {
    rows = readObservablesCsv(bytes.toStdString());
  } catch (const ConvertError& e) {
    throw AppError(tr("%1 is not a table of observables (%2)")
                       .arg(QFileInfo(path).fileName(), windowMessage(QString::fromStdString(e.what())))
                       .toStdString());
  }
  ui->Plots->setCompared(std::move(rows), QFileInfo(path).completeBaseName());
  ui->NoCompare->setEnabled(true);
  ui->Plots->refresh(series_);
}

void TMonitor::CompareClick() {
  const QString chosen = QFileDialog::getOpenFileName(this, tr("Compare with a run"), lastCompareName_,
                                                      tr("CSV files (*.csv);;All files (*)"));
  if (chosen.isEmpty()) return;
  lastCompareName_ = chosen;
  compareWith(chosen);
}

void TMonitor::NoCompareClick() {
  ui->Plots->clearCompared();
  ui->NoCompare->setEnabled(false);
  ui->Plots->refresh(series_);
}
