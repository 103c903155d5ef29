// The listing's cells, and its header row and number column: shown in the
// grid's own headers, so that they stay in view while the particles scroll.
#include "main_listing.h"

#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

#include "error_box.h"
#include "number_cell.h"

using namespace zentrova;

namespace {

// A double-click anywhere on the grid, headers and empty space included.
class ListingDoubleClick : public QObject {
 public:
  ListingDoubleClick(MainListing* listing, QObject* parent) : QObject(parent), listing_(listing) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) runGuarded([this] { listing_->DaonsTableDblClick(); });
    return QObject::eventFilter(watched, event);
  }

 private:
  MainListing* listing_;
};

}  // namespace

MainListing::MainListing(TMainForm& form) : MainPart(form) { setUp(); }

void MainListing::setUp() {
  QTableWidget* grid = ui_.DaonsTable;
  grid->setWordWrap(false);
  // A number too wide for its cell is shortened where it shows, never cut.
  grid->setItemDelegate(new NumberCellDelegate(grid));
  grid->horizontalHeader()->setMinimumSectionSize(1);
  for (int r = 0; r < grid->rowCount(); ++r)
    for (int c = 0; c < grid->columnCount(); ++c) {
      auto* item = new QTableWidgetItem;
      if (r == 0 || c == 0) item->setBackground(form_.palette().button());
      grid->setItem(r, c, item);
    }
  // Row 0 and column 0 stay in the model, where the listing writes them; the
  // headers show their texts.
  grid->setRowHidden(0, true);
  grid->setColumnHidden(0, true);
  for (int c = 0; c < grid->columnCount(); ++c) grid->setHorizontalHeaderItem(c, new QTableWidgetItem);
  for (int r = 0; r < grid->rowCount(); ++r) grid->setVerticalHeaderItem(r, new QTableWidgetItem);
  QHeaderView* top = grid->horizontalHeader();
  QHeaderView* side = grid->verticalHeader();
  top->setFixedHeight(side->defaultSectionSize());
  top->setSectionResizeMode(QHeaderView::Fixed);
  side->setSectionResizeMode(QHeaderView::Fixed);
  side->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  side->setFixedWidth(top->defaultSectionSize());
  top->show();
  side->show();
  auto* dbl = new ListingDoubleClick(this, grid);
  for (QWidget* part : {grid->viewport(), top->viewport(), side->viewport()}) part->installEventFilter(dbl);
  if (auto* corner = grid->findChild<QAbstractButton*>()) corner->installEventFilter(dbl);
}

void MainListing::showHeader(int row, int col, const QString& text) {
  QTableWidget* grid = ui_.DaonsTable;
  if (row == 0 && col > 0) grid->horizontalHeaderItem(col)->setText(text);
  if (col == 0 && row > 0) grid->verticalHeaderItem(row)->setText(text);
}

void MainListing::fill() {
  auto* grid = ui_.DaonsTable;
  // Only changed cells are written: the run refills the listing every step.
  // The view hears of them once, for the whole grid, rather than cell by cell.
  QAbstractItemModel* model = grid->model();
  bool changed = false, headerChanged = false;
  QSignalBlocker quiet(model);
  const auto put = [this, grid, &changed, &headerChanged](int row, int col, const QString& text) {
    QTableWidgetItem* item = grid->item(row, col);
    if (item->text() == text) return;
    item->setText(text);
    changed = true;
    if (row != 0 && col != 0) return;
    showHeader(row, col, text);
    headerChanged = true;
  };
  static const QString headers[2][3] = {{"X", "Y", "Z"}, {"u(x)", "u(y)", "u(z)"}};
  for (int c = 0; c < 3; ++c) put(0, c + 1, headers[ShowVelocities][c]);
  const auto& s = app_.set;
  const int count = std::min(s.Count, kMaxParticles);
  for (int i = 1; i <= count; ++i) put(i, 0, QString::number(i));
  const char sep = decimalSeparator();
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i)) {
      for (int c = 1; c <= 3; ++c) put(i, c, QString());
      continue;
    }
    const Real* values[3] = {&s.X[i - 1], &s.Y[i - 1], &s.Z[i - 1]};
    const Real* velocities[3] = {&s.Ux[i - 1], &s.Uy[i - 1], &s.Uz[i - 1]};
    for (int c = 0; c < 3; ++c)
      put(i, c + 1, QString::fromLatin1(formatReal(*(ShowVelocities ? velocities : values)[c], sep).c_str()));
  }
  quiet.unblock();
  if (changed)
    emit model->dataChanged(model->index(0, 0), model->index(model->rowCount() - 1, model->columnCount() - 1));
  // Headers lay themselves out anew when told, so they are told only when
  // theirs changed: a run changes numbers, not headers.
  if (headerChanged) {
    emit model->headerDataChanged(Qt::Horizontal, 0, model->columnCount() - 1);
    emit model->headerDataChanged(Qt::Vertical, 0, model->rowCount() - 1);
  }
}

void MainListing::DaonsTableDblClick() {
  ShowVelocities = !ShowVelocities;
  fill();
}
