// Looks of the main window's controls that the window definition cannot
// give on every style.
#include <QCheckBox>
#include <QPalette>

#include "TMainForm.h"
#include "ui_TMainForm.h"

void TMainForm::setUpLooks() {
  // White on black, with a white box to tick: a style sheet would paint the
  // box black too, and an unticked box would vanish.
  QCheckBox* cool = ui->Cool;
  QPalette p = cool->palette();
  for (const auto ground : {QPalette::Window, QPalette::Button}) p.setColor(ground, Qt::black);
  for (const auto text : {QPalette::WindowText, QPalette::ButtonText}) p.setColor(text, Qt::white);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::Text, Qt::black);
  cool->setPalette(p);
  cool->setAutoFillBackground(true);
}

QString TMainForm::null00Style() {
  // Maroon while it can be pressed, grey like any disabled control otherwise.
  return QStringLiteral("QToolButton { color: rgb(128, 0, 0); } QToolButton:disabled { color: rgb(150, 150, 150); }");
}
