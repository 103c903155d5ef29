// The parameter fields of the main window.
#include "main_parameters.h"

#include <QLineEdit>
#include <cstring>
#include <utility>

#include "key_filter.h"
#include "main_history.h"
#include "number_field.h"
#include "parameter_fields.h"
#include "state/errors.h"

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
  for (const NamedParameter& p : namedParameters()) shown_.show(parameterField(ui_.centralwidget, p), app_.set.*p.field);
}

// The text the window wrote itself stands for the value as it is, all of its
// bits, so leaving the field untouched changes nothing. A text that is not a
// number gives way to the value in force, and the box says which one stays.
void MainParameters::storeField(QLineEdit* field, Real& target, const QString& name) {
  if (shown_.untouched(field)) return;
  Real value;
  try {
    value = parseUserReal(field->text());
  } catch (const ConvertError& e) {
    shown_.show(field, target);
    throw ConvertError(std::string(e.what()) + "; " +
                       toLocal(TMainForm::tr("%1 stays %2").arg(name, realText(target))));
  }
  if (sameBits(value, target)) return;
  const SetSnapshot before(app_.set);
  target = value;
  shown_.show(field, value);
  form_.history().pushChange(TMainForm::tr("Change of %1").arg(name), before);
}

void MainParameters::EditDTExit() { storeField(ui_.EditDT, app_.set.Dt, QStringLiteral("dt")); }

void MainParameters::ParameterExit(QLineEdit* field) {
  for (const NamedParameter& p : namedParameters())
    if (p.kind != ParameterKind::TimeStep && parameterField(ui_.centralwidget, p) == field)
      storeField(field, app_.set.*p.field, QString::fromLatin1(p.name));
}
