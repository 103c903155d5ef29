#pragma once
#include <QStyledItemDelegate>

class QFontMetrics;

// A number too wide for the room it has, shortened so that what shows is
// never read as the whole number: fewer digits of the mantissa with an
// ellipsis and the exponent kept ("-7.5248…E-21"), fewer decimals with an
// ellipsis, or, when even the integer digits do not fit, their leading
// digits with an exponent. A text that fits is returned as it is.
QString shortNumberText(const QString& full, const QFontMetrics& metrics, int room);

// Draws the grid's cells with shortNumberText and shows the whole text in
// the cell's tooltip.
class NumberCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
};
