#include "TRecordDlg.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui_TRecordDlg.h"

TRecordDlg::TRecordDlg(const RecordingChoice& last, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TRecordDlg>()) {
  ui->setupUi(this);
  // The unit after the number agrees with it in the languages that decline it.
  const auto unit = [this](int n) { ui->Every->setSuffix(tr(" steps", "after the frame interval", n)); };
  connect(ui->Every, &QSpinBox::valueChanged, this, unit);
  ui->Folder->setText(last.folder.isEmpty() ? QDir::homePath() : last.folder);
  ui->Every->setValue(last.every);
  unit(ui->Every->value());
  ui->Stamp->setChecked(last.stamp);
  connect(ui->Browse, &QPushButton::clicked, this, &TRecordDlg::BrowseClick);
  connect(ui->Buttons, &QDialogButtonBox::accepted, this, &TRecordDlg::accept);
  connect(ui->Buttons, &QDialogButtonBox::rejected, this, &TRecordDlg::reject);
}

TRecordDlg::~TRecordDlg() = default;

RecordingChoice TRecordDlg::choice() const {
  return {QDir::cleanPath(ui->Folder->text().trimmed()), ui->Every->value(), ui->Stamp->isChecked()};
}

void TRecordDlg::BrowseClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, tr("Record Frames"), ui->Folder->text());
  if (!folder.isEmpty()) ui->Folder->setText(folder);
}

// A folder that is not there yet is made; one that cannot be keeps the
// dialog open.
void TRecordDlg::accept() {
  const QString folder = choice().folder;
  if (ui->Folder->text().trimmed().isEmpty() || !QDir().mkpath(folder)) {
    QMessageBox::warning(this, windowTitle(), tr("The folder %1 cannot be made.").arg(folder));
    return;
  }
  QDialog::accept();
}

std::optional<RecordingChoice> askRecording(QWidget* parent, const RecordingChoice& last) {
  TRecordDlg dialog(last, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.choice();
}
