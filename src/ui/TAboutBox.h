#pragma once
#include <QDialog>
#include <memory>

class QIcon;

namespace Ui {
class TAboutBox;
}

// Brings the program's pictures (icon, about-box images) into the resource
// system. The library is linked statically, so the executables call this once
// before anything looks up ":/icons/...". Safe to call more than once.
void initUiResources();

// The program's icon for windows and the application object.
QIcon programIcon();

// The about box: program name, version, description, credit and address
// lines, and one OK button. Fixed size, centred on the screen when shown.
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);
  ~TAboutBox() override;

  static QString versionText();      // "Version 1.0.0"
  static QString descriptionText();  // the one-line description

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  std::unique_ptr<Ui::TAboutBox> ui;
};
