#pragma once
#include <QLineEdit>
#include <QString>
#include <stdexcept>

#include "state/named_parameters.h"

// The edit field that shows a parameter in a window: "Edit" and the name in
// capitals (EditDT, EditA1, ... EditD3), found below root, so that a window
// lists its parameter fields through the one table.
inline QLineEdit* parameterField(QWidget* root, const zentrova::NamedParameter& p) {
  const QString name = QStringLiteral("Edit") + QString::fromLatin1(p.name).toUpper();
  auto* field = root->findChild<QLineEdit*>(name);
  if (!field) throw std::logic_error("no field " + name.toStdString());
  return field;
}
