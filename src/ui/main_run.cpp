// The integration run: Go/Stop, the step loop, the lamp and the step counter.
#include <QCoreApplication>

#include "TMainForm.h"
#include "glyphs.h"
#include "ui_TMainForm.h"

using namespace zentrova;

void TMainForm::setLamp(bool runningColours) {
  const auto circle = [](const char* rgb) {
    return QStringLiteral("background-color: rgb(%1); border: 1px solid black; border-radius: 7px;")
        .arg(QLatin1String(rgb));
  };
  ui->ShapeRed->setStyleSheet(circle(runningColours ? "255, 0, 0" : "128, 0, 0"));
  ui->ShapeLime->setStyleSheet(circle(runningColours ? "0, 128, 0" : "0, 255, 0"));
}

void TMainForm::showRunning() {
  ui->Go->setIcon(crossGlyph());
  ui->Go->setText(QStringLiteral("Stop"));
  setLamp(true);
}

void TMainForm::showIdle() {
  ui->Go->setIcon(checkGlyph());
  ui->Go->setText(QStringLiteral("Go"));
  setLamp(false);
}

void TMainForm::GoClick() {
  auto& s = app_.set;
  if (s.Stopped) {
    showRunning();
    s.Stopped = false;
    ui->Images->setEnabled(false);
    ui->Null00->setEnabled(false);
    ui->Null00->setText(QStringLiteral("0"));
    ui->Null00->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0);"));
    runSteps(s.Time);
  } else {
    showIdle();
    s.Stopped = true;
    ui->Images->setEnabled(true);
    ui->Null00->setEnabled(true);
  }
}

StepControls TMainForm::readStepControls() const {
  StepControls c;
  c.forces.taoscope = ui->Taoscope->isChecked();
  c.forces.peOut = ui->CheckBox1->isChecked();
  c.forces.pes1Out = ui->CheckBox2->isChecked();
  c.forces.pes2Out = ui->CheckBox3->isChecked();
  c.cool = ui->Cool->isChecked();
  c.blockade = ui->Blockade->isChecked();
  return c;
}

void TMainForm::runSteps(std::int32_t n) {
  auto& s = app_.set;
  do {
    ++n;
    // Nothing can change the controls during a step, so one reading serves it.
    integrateStep(s, readStepControls());
    s.Time = n;
    if (ShowTime) ui->LTime->setText(QString::number(n));
    DrawTaons();
    if (ui->ShowList->isChecked()) fillListing();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  } while (!s.Stopped);
}

void TMainForm::LTimeDblClick() { ShowTime = !ShowTime; }
