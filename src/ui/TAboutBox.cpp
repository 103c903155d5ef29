#include "TAboutBox.h"

#include <QFont>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QShowEvent>

#include "ui_TAboutBox.h"

#ifndef ZENTROVA_VERSION
#define ZENTROVA_VERSION "0"
#endif

static void initResourcesOnce() { Q_INIT_RESOURCE(resources); }

void initUiResources() {
  static const bool done = (initResourcesOnce(), true);
  (void)done;
}

QIcon programIcon() {
  initUiResources();
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/zentrova-32.png"));
  icon.addFile(QStringLiteral(":/icons/zentrova.png"));
  icon.addFile(QStringLiteral(":/icons/zentrova-128.png"));
  return icon;
}

namespace {

void paint(QLabel* label, const QColor& colour, bool bold) {
  QPalette p = label->palette();
  p.setColor(QPalette::WindowText, colour);
  label->setPalette(p);
  QFont f = label->font();
  f.setBold(bold);
  label->setFont(f);
}

}  // namespace

QString TAboutBox::versionText() { return tr("Version %1").arg(QStringLiteral(ZENTROVA_VERSION)); }

QString TAboutBox::descriptionText() {
  return tr("60 interacting taons and gravons in three groups");
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>()) {
  initUiResources();
  ui->setupUi(this);
  setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) & ~Qt::WindowContextHelpButtonHint);
  setFixedSize(363, 222);
  setWindowIcon(programIcon());

  QFont nameFont(QStringLiteral("Times New Roman"));
  nameFont.setStyleHint(QFont::Serif);
  nameFont.setPixelSize(24);
  ui->ProductName->setFont(nameFont);
  paint(ui->ProductName, QColor(255, 0, 0), false);

  const QColor maroon(128, 0, 0), blue(0, 0, 255);
  for (QLabel* credit : {ui->Credits1, ui->Credits2, ui->Credits3}) paint(credit, maroon, true);
  for (QLabel* address : {ui->Address1, ui->Address2}) paint(address, blue, true);

  QFont small = ui->Comments->font();
  small.setPixelSize(10);
  ui->Comments->setFont(small);
  ui->Comments->setText(versionText() + QStringLiteral(" \u2014 ") + descriptionText());

  ui->OKButton->setFocus();
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  QRect frame = frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}
