// The listing's header row and number column: shown in the grid's own
// headers, so that they stay in view while the particles scroll.
#include <QAbstractButton>
#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>

#include "TMainForm.h"
#include "error_box.h"
#include "ui_TMainForm.h"

namespace {

// A double-click anywhere on the grid, headers and empty space included.
class ListingDoubleClick : public QObject {
 public:
  ListingDoubleClick(TMainForm* form, QObject* parent) : QObject(parent), form_(form) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) runGuarded([this] { form_->DaonsTableDblClick(); });
    return QObject::eventFilter(watched, event);
  }

 private:
  TMainForm* form_;
};

}  // namespace

void TMainForm::setUpListing() {
  QTableWidget* grid = ui->DaonsTable;
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

void TMainForm::showListingHeader(int row, int col, const QString& text) {
  QTableWidget* grid = ui->DaonsTable;
  if (row == 0 && col > 0) grid->horizontalHeaderItem(col)->setText(text);
  if (col == 0 && row > 0) grid->verticalHeaderItem(row)->setText(text);
}
