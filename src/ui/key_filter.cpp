#include "key_filter.h"

#include <QKeyEvent>

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kEscape = 27;

}  // namespace

QChar filterNumericChar(QChar typed) {
  const char16_t c = typed.unicode();
  const bool kept = (c >= u'0' && c <= u'9') || c == kBackspace || c == u',' || c == u'-' || c == u'.';
  return kept ? typed : QChar(kEscape);
}

bool numericKeyRejected(const QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return false;
    default:
      break;
  }
  const QString text = event->text();
  if (text.isEmpty()) return false;
  for (const QChar c : text)
    if (filterNumericChar(c).unicode() == kEscape) return true;
  return false;
}

bool NumericKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && numericKeyRejected(static_cast<QKeyEvent*>(event))) return true;
  return QObject::eventFilter(watched, event);
}
