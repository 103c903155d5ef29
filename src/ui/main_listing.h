#pragma once
#include <QString>

#include "main_part.h"

// The listing of the particles: positions or velocities, with the header row
// and the number column shown in the grid's own headers.
class MainListing : public MainPart {
 public:
  explicit MainListing(TMainForm& form);

  // Writes the cells that changed.
  void fill();
  // Positions and velocities change places.
  void DaonsTableDblClick();
  bool showsVelocities() const { return ShowVelocities; }

 private:
  void setUp();
  void showHeader(int row, int col, const QString& text);

  bool ShowVelocities = false;
};
