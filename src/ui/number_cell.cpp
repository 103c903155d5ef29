#include "number_cell.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace {

const QString kEllipsis = QString(QChar(0x2026));

bool fits(const QFontMetrics& m, const QString& text, int room) { return m.horizontalAdvance(text) <= room; }

// Digits before the cut, without a dangling separator or a lone sign.
bool usefulHead(const QString& head) {
  if (head.isEmpty() || head == QLatin1String("-")) return false;
  const QChar last = head.back();
  return last.isDigit();
}

// The integer digits in scientific form: "-123456789" as "-1.2345…E8".
QString scientific(const QString& full, const QFontMetrics& m, int room) {
  const bool negative = full.startsWith(QLatin1Char('-'));
  QString digits;
  for (QChar c : full.mid(negative ? 1 : 0)) {
    if (!c.isDigit()) break;
    digits += c;
  }
  if (digits.size() < 2) return kEllipsis;
  const QString sign = negative ? QStringLiteral("-") : QString();
  const QString exponent = QStringLiteral("E%1").arg(digits.size() - 1);
  for (qsizetype k = digits.size() - 1; k >= 1; --k) {
    const QString head = digits.left(1) + (k > 1 ? QStringLiteral(".") + digits.mid(1, k - 1) : QString());
    const QString text = sign + head + kEllipsis + exponent;
    if (fits(m, text, room)) return text;
  }
  return kEllipsis;
}

}  // namespace

QString shortNumberText(const QString& full, const QFontMetrics& m, int room) {
  if (full.isEmpty() || fits(m, full, room)) return full;
  const qsizetype e = full.indexOf(QLatin1Char('E'));
  if (e >= 0) {
    const QString mantissa = full.left(e), exponent = full.mid(e);
    for (qsizetype k = mantissa.size() - 1; k >= 1; --k) {
      const QString head = mantissa.left(k);
      if (!usefulHead(head)) continue;
      if (fits(m, head + kEllipsis + exponent, room)) return head + kEllipsis + exponent;
    }
    return kEllipsis;
  }
  qsizetype point = full.indexOf(QLatin1Char('.'));
  if (point < 0) point = full.indexOf(QLatin1Char(','));
  if (point >= 0)
    for (qsizetype k = full.size() - 1; k > point + 1; --k)
      if (fits(m, full.left(k) + kEllipsis, room)) return full.left(k) + kEllipsis;
  return scientific(full, m, room);
}

void NumberCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1;
  option->text = shortNumberText(option->text, option->fontMetrics, option->rect.width() - 2 * margin);
  option->textElideMode = Qt::ElideNone;
}

bool NumberCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) {
  if (event->type() != QEvent::ToolTip) return QStyledItemDelegate::helpEvent(event, view, option, index);
  const QString text = index.data(Qt::DisplayRole).toString();
  if (text.isEmpty()) {
    QToolTip::hideText();
    return true;
  }
  QToolTip::showText(event->globalPos(), text, view);
  return true;
}
