#pragma once
#include <QList>

#include "main_part.h"

class QLineEdit;

// dt and the ten force parameters: shown from the set, stored into it when
// their field is left or Enter is pressed in it.
class MainParameters : public MainPart {
 public:
  explicit MainParameters(TMainForm& form);

  void show();
  bool isField(QObject* watched) const;
  // Stores the field's value as its exit handler does.
  void store(QLineEdit* field);
  void EditDTExit();
  void ParameterExit(QLineEdit* field);

 private:
  QList<QLineEdit*> fields_;
};
