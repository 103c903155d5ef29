#include <gtest/gtest.h>

#include <QStringList>
#include <stdexcept>

#include "error_box.h"
#include "language.h"

TEST(ErrorBox, AppendsFullStopOnlyAfterCharactersSortingAfterIt) {
  EXPECT_EQ(errorBoxText("File not found"), "File not found.");
  EXPECT_EQ(errorBoxText("'' is not a valid integer value"), "'' is not a valid integer value.");
  EXPECT_EQ(errorBoxText("I/O error 5"), "I/O error 5.");  // '5' sorts after '.'
  EXPECT_EQ(errorBoxText("Done."), "Done.");
  EXPECT_EQ(errorBoxText("value '-'"), "value '-'");  // '\'' sorts before '.'
  EXPECT_EQ(errorBoxText("dash -"), "dash -");
}

TEST(ErrorBox, GuardTurnsEscapedExceptionIntoOneBox) {
  QStringList shown;
  setErrorSink([&](const QString& m) { shown << m; });
  EXPECT_FALSE(runGuarded([] { throw std::runtime_error("Floating point overflow"); }));
  EXPECT_TRUE(runGuarded([] {}));
  resetErrorSink();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0], "Floating point overflow.");
}

// In Russian the box shows the core's fixed messages translated, with the
// value in them kept as typed; in English as they came.
TEST(ErrorBox, ShowsTheCoresFixedMessagesInTheWindowsLanguage) {
  QStringList shown;
  setErrorSink([&](const QString& m) { shown << m; });
  ASSERT_TRUE(installLanguage("ru"));
  showErrorBox("'1.5%1' is not a valid floating point value; dt остаётся 0,01");
  showErrorBox("I/O error 5");
  showErrorBox("File not found");
  showErrorBox("The commentary x.txt is not a regular file.");
  installLanguage("en");
  showErrorBox("File not found");
  resetErrorSink();
  EXPECT_EQ(shown, QStringList({QStringLiteral("«1.5%1» не является допустимым числом с плавающей точкой; dt остаётся 0,01."),
                                QStringLiteral("Ошибка ввода-вывода 5."), QStringLiteral("Файл не найден."),
                                QStringLiteral("Комментарий x.txt не является обычным файлом."),
                                "File not found."}));
}
