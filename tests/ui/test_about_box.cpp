#include <gtest/gtest.h>

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "TAboutBox.h"

namespace {

QLabel* label(const TAboutBox& box, const char* name) {
  auto* l = box.findChild<QLabel*>(QString::fromLatin1(name));
  EXPECT_NE(l, nullptr) << name;
  return l;
}

QColor textColour(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

}  // namespace

TEST(AboutBox, CaptionFixedSizeAndLayout) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), "About");
  EXPECT_EQ(box.size(), QSize(363, 222));
  EXPECT_EQ(box.minimumSize(), QSize(363, 222));
  EXPECT_EQ(box.maximumSize(), QSize(363, 222));

  auto* ok = box.findChild<QPushButton*>("OKButton");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "OK");
  EXPECT_TRUE(ok->isDefault());
  EXPECT_NEAR(ok->geometry().center().x(), 363 / 2, 1);
  EXPECT_GT(ok->geometry().top(), 222 / 2);

  auto* panel = box.findChild<QFrame*>("Panel1");
  ASSERT_NE(panel, nullptr);
  EXPECT_NE(panel->frameShape(), QFrame::NoFrame);
  EXPECT_LT(panel->geometry().bottom(), ok->geometry().top());
  EXPECT_GT(panel->width(), 363 * 9 / 10);

  QLabel* icon = label(box, "ProgramIcon");
  QLabel* image = label(box, "Image1");
  QLabel* name = label(box, "ProductName");
  for (QLabel* picture : {icon, image}) {
    EXPECT_EQ(picture->parentWidget(), panel);
    EXPECT_EQ(picture->size(), QSize(33, 33));
    EXPECT_TRUE(picture->hasScaledContents());
    EXPECT_FALSE(picture->pixmap().isNull()) << picture->objectName().toStdString();
  }
  EXPECT_GT(icon->x(), panel->width() / 2);   // top right
  EXPECT_LT(image->x(), panel->width() / 2);  // top left
  EXPECT_NEAR(name->geometry().center().x(), panel->width() / 2, 2);
  EXPECT_LT(name->y(), 20);
  EXPECT_FALSE(box.windowIcon().isNull());
}

TEST(AboutBox, TextsFontsAndColours) {
  TAboutBox box;
  QLabel* name = label(box, "ProductName");
  EXPECT_EQ(name->text(), "Zentrova");
  EXPECT_EQ(textColour(name), QColor(255, 0, 0));
  EXPECT_EQ(name->font().pixelSize(), 24);
  EXPECT_EQ(name->font().styleHint(), QFont::Serif);

  for (const char* credit : {"Credits1", "Credits2", "Credits3"}) {
    QLabel* l = label(box, credit);
    EXPECT_EQ(textColour(l), QColor(128, 0, 0)) << credit;
    EXPECT_TRUE(l->font().bold()) << credit;
    EXPECT_FALSE(l->text().isEmpty()) << credit;
  }
  for (const char* address : {"Address1", "Address2"}) {
    QLabel* l = label(box, address);
    EXPECT_EQ(textColour(l), QColor(0, 0, 255)) << address;
    EXPECT_TRUE(l->font().bold()) << address;
  }
  EXPECT_EQ(label(box, "Address2")->text(), "Example sets: share/zentrova/examples");
  EXPECT_EQ(label(box, "Credits1")->text(), "Written by the Zentrova developers");

  QLabel* small = label(box, "Comments");
  EXPECT_TRUE(small->text().contains(QStringLiteral("Version " ZENTROVA_VERSION)));
  EXPECT_TRUE(small->text().contains(TAboutBox::descriptionText()));
  EXPECT_LT(small->font().pixelSize(), name->font().pixelSize());

  // Nothing in the box points to the web, and every line fits its label.
  for (QLabel* l : box.findChildren<QLabel*>()) {
    EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
    EXPECT_FALSE(l->text().contains("http", Qt::CaseInsensitive)) << l->text().toStdString();
    EXPECT_FALSE(l->text().contains("www.", Qt::CaseInsensitive)) << l->text().toStdString();
  }
}

TEST(AboutBox, OkAndEnterCloseWithAcceptedAndBoxIsCentred) {
  TAboutBox box;
  // Enter reaches the default button.
  QTimer::singleShot(0, &box, [&box] {
    const QRect screen = box.screen()->availableGeometry();
    EXPECT_NEAR(box.frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(box.frameGeometry().center().y(), screen.center().y(), 1);
    QTest::keyClick(&box, Qt::Key_Return);
  });
  EXPECT_EQ(box.exec(), QDialog::Accepted);
  EXPECT_FALSE(box.isVisible());

  // A click on OK, and the box can be shown again afterwards.
  QTimer::singleShot(0, &box, [&box] { QTest::mouseClick(box.findChild<QPushButton*>("OKButton"), Qt::LeftButton); });
  EXPECT_EQ(box.exec(), QDialog::Accepted);

  // The window's close box rejects, which the caller treats the same way.
  QTimer::singleShot(0, &box, [&box] { box.close(); });
  EXPECT_EQ(box.exec(), QDialog::Rejected);
}
