#include "number_field.h"

#include <QLineEdit>

#include "app_state.h"
#include "state/errors.h"
#include "state/number_text.h"

using zentrova::Real;

Real parseUserReal(const QString& text) {
  const char sep = decimalSeparator();
  if (sep == '.' || !text.contains(QLatin1Char('.'))) return zentrova::parseReal(toLocal(text), sep);
  QString local = text;
  local.replace(QLatin1Char('.'), QLatin1Char(sep));
  try {
    return zentrova::parseReal(toLocal(local), sep);
  } catch (const zentrova::ConvertError&) {
    throw zentrova::ConvertError(zentrova::invalidRealMessage(toLocal(text)));
  }
}

void ShownNumbers::show(QLineEdit* field, Real value) {
  const QString text = realText(value);
  shown_.insert(field, {text, value});
  field->setText(text);
  field->setCursorPosition(0);  // the sign and leading digits are what matter
}

bool ShownNumbers::untouched(const QLineEdit* field) const {
  const auto it = shown_.constFind(field);
  return it != shown_.cend() && it->first == field->text();
}

Real ShownNumbers::read(const QLineEdit* field) const {
  if (untouched(field)) return shown_.value(field).second;
  return parseUserReal(field->text());
}
