#include <gtest/gtest.h>

#include <QStringList>
#include <stdexcept>

#include "error_box.h"

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
