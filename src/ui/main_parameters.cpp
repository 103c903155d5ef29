// The parameter fields of the main window.
#include "main_parameters.h"

#include <QLineEdit>
#include <cstring>
#include <utility>

#include "key_filter.h"
#include "main_history.h"
#include "parameter_fields.h"

using namespace zentrova;

namespace {

// Stores a typed value as one undoable change; the same value changes nothing.
bool sameBits(Real a, Real b) { return std::memcmp(&a, &b, 10) == 0; }

}  // namespace

MainParameters::MainParameters(TMainForm& form) : MainPart(form) {
  for (const NamedParameter& p : namedParameters()) fields_.append(parameterField(ui_.centralwidget, p));
  auto* numeric = new NumericKeyFilter(this);
  for (QLineEdit* field : fields_) {
    field->installEventFilter(numeric);
    field->installEventFilter(&form_);
  }
}

bool MainParameters::isField(QObject* watched) const {
  auto* field = qobject_cast<QLineEdit*>(watched);
  return field && fields_.contains(field);
}

void MainParameters::store(QLineEdit* field) {
  if (field == ui_.EditDT)
    EditDTExit();
  else
    ParameterExit(field);
}

void MainParameters::show() {
  for (const NamedParameter& p : namedParameters()) {
    QLineEdit* edit = parameterField(ui_.centralwidget, p);
    edit->setText(realText(app_.set.*p.field));
    edit->setCursorPosition(0);  // long numbers show their leading digits
  }
}

void MainParameters::EditDTExit() {
  // The text the window wrote itself stands for the value as it is, all of
  // its bits, so leaving the field untouched changes nothing.
  if (ui_.EditDT->text() == realText(app_.set.Dt)) return;
  const Real value = parseReal(toLocal(ui_.EditDT->text()), decimalSeparator());
  if (sameBits(value, app_.set.Dt)) return;
  const SetSnapshot before(app_.set);
  app_.set.Dt = value;
  form_.history().pushChange(QStringLiteral("Change of dt"), before);
}

void MainParameters::ParameterExit(QLineEdit* field) {
  auto& s = app_.set;
  for (const NamedParameter& p : namedParameters()) {
    if (p.kind == ParameterKind::TimeStep) continue;  // EditDTExit's
    Real* target = &(s.*p.field);
    if (parameterField(ui_.centralwidget, p) != field || field->text() == realText(*target)) continue;
    const Real value = parseReal(toLocal(field->text()), decimalSeparator());
    if (sameBits(value, *target)) return;
    const SetSnapshot before(s);
    *target = value;
    form_.history().pushChange(QStringLiteral("Change of %1").arg(field->objectName().mid(4)), before);
  }
}
