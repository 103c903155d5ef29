#pragma once
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "TEditDlg.h"

// The editor's controls, found by name.
struct EditorControls {
  explicit EditorControls(TEditDlg& d)
      : EditA1(d.findChild<QLineEdit*>("EditA1")),
        EditA2(d.findChild<QLineEdit*>("EditA2")),
        EditA3(d.findChild<QLineEdit*>("EditA3")),
        EditB1(d.findChild<QLineEdit*>("EditB1")),
        EditB2(d.findChild<QLineEdit*>("EditB2")),
        EditB3(d.findChild<QLineEdit*>("EditB3")),
        EditC2(d.findChild<QLineEdit*>("EditC2")),
        EditC3(d.findChild<QLineEdit*>("EditC3")),
        EditD2(d.findChild<QLineEdit*>("EditD2")),
        EditD3(d.findChild<QLineEdit*>("EditD3")),
        EditDT(d.findChild<QLineEdit*>("EditDT")),
        EditFileName(d.findChild<QLineEdit*>("EditFileName")),
        EditU(d.findChild<QLineEdit*>("EditU")),
        EditV(d.findChild<QLineEdit*>("EditV")),
        EditW(d.findChild<QLineEdit*>("EditW")),
        EditX(d.findChild<QLineEdit*>("EditX")),
        EditY(d.findChild<QLineEdit*>("EditY")),
        EditZ(d.findChild<QLineEdit*>("EditZ")),
        EditCal1Part1(d.findChild<QLineEdit*>("EditCal1Part1")),
        EditCal1Part2(d.findChild<QLineEdit*>("EditCal1Part2")),
        EditCal2Part1(d.findChild<QLineEdit*>("EditCal2Part1")),
        EditCal2Part2(d.findChild<QLineEdit*>("EditCal2Part2")),
        EditCal3Part1(d.findChild<QLineEdit*>("EditCal3Part1")),
        EditCal3Part2(d.findChild<QLineEdit*>("EditCal3Part2")),
        EditCal4Part1(d.findChild<QLineEdit*>("EditCal4Part1")),
        EditCal4Part2(d.findChild<QLineEdit*>("EditCal4Part2")),
        EditResult1(d.findChild<QLineEdit*>("EditResult1")),
        EditResult2(d.findChild<QLineEdit*>("EditResult2")),
        EditResult3(d.findChild<QLineEdit*>("EditResult3")),
        EditResult4(d.findChild<QLineEdit*>("EditResult4")),
        Calculate1(d.findChild<QPushButton*>("Calculate1")),
        Calculate2(d.findChild<QPushButton*>("Calculate2")),
        Calculate3(d.findChild<QPushButton*>("Calculate3")),
        Calculate4(d.findChild<QPushButton*>("Calculate4")),
        Reset1(d.findChild<QPushButton*>("Reset1")),
        Reset2(d.findChild<QPushButton*>("Reset2")),
        Reset3(d.findChild<QPushButton*>("Reset3")),
        Reset4(d.findChild<QPushButton*>("Reset4")),
        CancelBtn(d.findChild<QPushButton*>("CancelBtn")),
        OKBtn(d.findChild<QPushButton*>("OKBtn")),
        Saveas(d.findChild<QPushButton*>("Saveas")),
        Submit(d.findChild<QPushButton*>("Submit")),
        DaoTrue(d.findChild<QCheckBox*>("DaoTrue")),
        NumberOfTaon(d.findChild<QLabel*>("NumberOfTaon")),
        Image1(d.findChild<QLabel*>("Image1")),
        DaonsTable(d.findChild<QTableWidget*>("DaonsTable")) {}
  QLineEdit* EditA1;
  QLineEdit* EditA2;
  QLineEdit* EditA3;
  QLineEdit* EditB1;
  QLineEdit* EditB2;
  QLineEdit* EditB3;
  QLineEdit* EditC2;
  QLineEdit* EditC3;
  QLineEdit* EditD2;
  QLineEdit* EditD3;
  QLineEdit* EditDT;
  QLineEdit* EditFileName;
  QLineEdit* EditU;
  QLineEdit* EditV;
  QLineEdit* EditW;
  QLineEdit* EditX;
  QLineEdit* EditY;
  QLineEdit* EditZ;
  QLineEdit* EditCal1Part1;
  QLineEdit* EditCal1Part2;
  QLineEdit* EditCal2Part1;
  QLineEdit* EditCal2Part2;
  QLineEdit* EditCal3Part1;
  QLineEdit* EditCal3Part2;
  QLineEdit* EditCal4Part1;
  QLineEdit* EditCal4Part2;
  QLineEdit* EditResult1;
  QLineEdit* EditResult2;
  QLineEdit* EditResult3;
  QLineEdit* EditResult4;
  QPushButton* Calculate1;
  QPushButton* Calculate2;
  QPushButton* Calculate3;
  QPushButton* Calculate4;
  QPushButton* Reset1;
  QPushButton* Reset2;
  QPushButton* Reset3;
  QPushButton* Reset4;
  QPushButton* CancelBtn;
  QPushButton* OKBtn;
  QPushButton* Saveas;
  QPushButton* Submit;
  QCheckBox* DaoTrue;
  QLabel* NumberOfTaon;
  QLabel* Image1;
  QTableWidget* DaonsTable;
};
