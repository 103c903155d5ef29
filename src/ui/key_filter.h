#pragma once
#include <QChar>
#include <QObject>

class QKeyEvent;
class QWidget;

// The numeric fields take digits, backspace, ",", "-" and "." only. Every
// other typed character, control characters included, becomes Escape, which
// the field does not insert.
QChar filterNumericChar(QChar typed);

// True when the key press types a character the numeric filter turns into
// Escape. Keys that type nothing (arrows, Delete) and the dialog keys Return,
// Enter, Escape and Tab are never rejected, so navigation keeps working.
bool numericKeyRejected(const QKeyEvent* event);

// Swallows the key presses numericKeyRejected refuses, for any widget it is
// installed on.
class NumericKeyFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override;
};
