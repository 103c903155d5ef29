#pragma once
// Extended XYZ, the trajectory text that ASE, OVITO and MDAnalysis read: a
// frame is the count of present particles, a comment line of key=value pairs
// (Properties, step, time, dt, the ten parameters, mode, pbc), then one line
// a present particle: species, x y z, ux uy uz, its number, its group.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "state/particle_set.h"

namespace zentrova {

// The chemical symbol written for a group: readers take the species column
// as elements and refuse other names. PE "C", PES1 "N", PES2 "O".
const char* xyzSpecies(Group group);

// One frame of the present particles of `set` at step `step` (time =
// step * Dt), every number with 21 significant digits, whatever the locale.
std::string formatXyzFrame(const ParticleSet& set, std::int64_t step, bool taoscope);

struct XyzAtom {
  int id = 0;  // 1 to 60; 0 where the frame has no id column
  Real pos[3] = {0, 0, 0};
  Real velo[3] = {0, 0, 0};  // 0 where the frame has no velocities
};

struct XyzFrame {
  std::vector<XyzAtom> atoms;
  std::vector<std::pair<std::string, std::string>> info;  // the comment line, values unquoted
  // The value of a key of the comment line, or null.
  const std::string* value(const std::string& key) const;
};

// Reads the frame that starts at `pos` (line number `line`, from 1) and moves
// both past it; false when only blank text is left. A malformed frame throws
// AppError naming its line.
bool readXyzFrame(std::string_view text, std::size_t& pos, std::size_t& line, XyzFrame& frame);
// Every frame of a text.
std::vector<XyzFrame> parseXyz(std::string_view text);

// Makes `set` the frame's: each line placed by its id (lines without one
// fill particles 1, 2, ... in order), every other particle absent and zero,
// step buffers and drawing positions equal to the positions; dt, the
// parameters and the step counter from the comment line where it has them.
// Throws AppError for an id outside 1 to 60, an id given twice, or a value
// of the comment line that is not a number.
void applyXyzFrame(const XyzFrame& frame, ParticleSet& set);

}  // namespace zentrova
