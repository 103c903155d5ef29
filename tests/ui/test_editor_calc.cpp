#include <gtest/gtest.h>

#include <QStringList>
#include <map>

#include "TEditDlg.h"
#include "distance_calculator.h"
#include "error_box.h"
#include "state/errors.h"
#include "editor_controls.h"

namespace {

using zentrova::gridDistance;

// A grid of three rows over the header "X", "Y", "Z".
std::string cell(int column, int row) {
  static const std::map<std::pair<int, int>, std::string> cells = {
      {{1, 0}, "X"}, {{2, 0}, "Y"},   {{3, 0}, "Z"},   {{1, 1}, "1"}, {{2, 1}, "2"},
      {{3, 1}, "2"}, {{1, 2}, "4"},   {{2, 2}, "6"},   {{3, 2}, "2"}, {{1, 3}, "1E4000"},
      {{2, 3}, "0"}, {{3, 3}, "0"},   {{1, 4}, "-1E4000"}, {{2, 4}, "0"}, {{3, 4}, "0"}};
  const auto it = cells.find({column, row});
  return it == cells.end() ? std::string() : it->second;
}

std::string errorOf(const std::string& a, const std::string& b) {
  try {
    gridDistance(a, b, cell, '.');
  } catch (const zentrova::AppError& e) {
    return e.what();
  }
  return "no error";
}

TEST(EditorCalculator, DistanceOfTwoRows) {
  EXPECT_EQ(gridDistance("1", "2", cell, '.'), "5");
  EXPECT_EQ(gridDistance("2", " 1", cell, '.'), "5");
  EXPECT_EQ(gridDistance("2", "2", cell, '.'), "0");
}

TEST(EditorCalculator, FirstBadTextIsReported) {
  EXPECT_EQ(errorOf("", "1"), "'' is not a valid integer value");
  EXPECT_EQ(errorOf("ab", "1"), "'ab' is not a valid integer value");
  EXPECT_EQ(errorOf("1", "x"), "'x' is not a valid integer value");
  EXPECT_EQ(errorOf("0", "x"), "'X' is not a valid floating point value");
  EXPECT_EQ(errorOf("61", "1"), "'' is not a valid floating point value");
  EXPECT_EQ(errorOf("-1", "1"), "'' is not a valid floating point value");
  EXPECT_EQ(errorOf("1", "7"), "'' is not a valid floating point value");  // absent
}

TEST(EditorCalculator, OverflowIsAFaultNotAnInfinity) {
  EXPECT_EQ(errorOf("3", "4"), "Floating point overflow");
}

TEST(EditorCalculator, DialogCalculatorsReadTheGridAndStayIndependent) {
  QStringList errors;
  setErrorSink([&](const QString& m) { errors << m; });
  AppState app;
  auto& s = app.set;
  s.Count = 60;
  s.setPresent(1, true);
  s.setPresent(2, true);
  s.X[0] = 1, s.Y[0] = 2, s.Z[0] = 2;
  s.X[1] = 4, s.Y[1] = 6, s.Z[1] = 2;
  s.Ux[1] = 3;
  TEditDlg dlg(app, [] { return false; });
  dlg.fillEditorGrid();
  EditorControls f(dlg);
  EXPECT_EQ(f.EditCal1Part1->text(), "0");
  EXPECT_EQ(f.EditResult4->text(), "0");

  f.EditCal1Part1->setText("1");
  f.EditCal1Part2->setText("2");
  f.Calculate1->click();
  EXPECT_EQ(f.EditResult1->text(), "5");
  EXPECT_EQ(f.EditResult2->text(), "0");

  // Velocities measured for the same numbers once the grid shows them.
  f.EditCal2Part1->setText("1");
  f.EditCal2Part2->setText("2");
  dlg.DaonsTableDblClick();
  f.Calculate2->click();
  EXPECT_EQ(f.EditResult2->text(), "3");

  // A failure leaves the result as it was.
  f.EditCal1Part1->setText("0");
  f.Calculate1->click();
  EXPECT_EQ(f.EditResult1->text(), "5");
  f.EditCal3Part1->setText("3");
  f.EditCal3Part2->setText("1");
  f.Calculate3->click();
  EXPECT_EQ(errors, (QStringList{"'u(x)' is not a valid floating point value.", "'' is not a valid floating point value."}));

  f.Reset1->click();
  EXPECT_EQ(f.EditCal1Part1->text(), "0");
  EXPECT_EQ(f.EditCal1Part2->text(), "0");
  EXPECT_EQ(f.EditResult1->text(), "0");
  EXPECT_EQ(f.EditResult2->text(), "3");
  resetErrorSink();
}

}  // namespace
