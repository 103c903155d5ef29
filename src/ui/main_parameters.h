#pragma once
#include <QCoreApplication>
#include <QList>

#include "main_part.h"
#include "number_field.h"

class QLineEdit;

// dt and the ten force parameters: shown from the set, stored into it when
// their field is left or Enter is pressed in it.
class MainParameters : public MainPart {
  Q_DECLARE_TR_FUNCTIONS(MainParameters)

 public:
  explicit MainParameters(TMainForm& form);

  void show();
  bool isField(QObject* watched) const;
  // Stores the field's value as its exit handler does.
  void store(QLineEdit* field);
  void EditDTExit();
  void ParameterExit(QLineEdit* field);

 private:
  void storeField(QLineEdit* field, zentrova::Real& target, const QString& name);

  QList<QLineEdit*> fields_;
  ShownNumbers shown_;
};
