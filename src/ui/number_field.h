#pragma once
#include <QHash>
#include <QString>
#include <utility>

#include "state/real.h"

class QLineEdit;

// A real typed by the user: the locale's decimal separator and the full stop
// are both read as the decimal point (neither is a group separator). A text
// that does not convert throws with the text as it was typed.
zentrova::Real parseUserReal(const QString& text);

// The numbers a window writes into its fields, each remembered with the
// exact value behind it: a field whose text is still the one written gives
// back that value, not the 15 digits it shows; only an edited field is read.
class ShownNumbers {
 public:
  void show(QLineEdit* field, zentrova::Real value);
  zentrova::Real read(const QLineEdit* field) const;
  // Whether the field still shows the text written into it.
  bool untouched(const QLineEdit* field) const;

 private:
  QHash<const QLineEdit*, std::pair<QString, zentrova::Real>> shown_;
};
