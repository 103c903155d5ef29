#pragma once
// Extended XYZ, the trajectory text that ASE, OVITO and MDAnalysis read: a
// frame is the count of present particles, a comment line of key=value pairs
// (Properties, step, time, dt, the ten parameters, mode, pbc), then one line
// a present particle: species, x y z, its mass (1), its momenta (equal to
// its velocities at unit mass), its number, its group.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "state/errors.h"
#include "state/particle_set.h"

namespace zentrova {

// The chemical symbol written for a group: readers take the species column
// as elements and refuse other names. PE "C", PES1 "N", PES2 "O".
const char* xyzSpecies(Group group);

// One frame of the present particles of `set` at step `step` (time =
// step * Dt), every number with 21 significant digits, whatever the locale.
std::string formatXyzFrame(const ParticleSet& set, std::int64_t step, bool taoscope);

struct XyzAtom {
  std::size_t line = 0;  // where it was read; 0 for an atom made in memory
  int id = 0;            // 1 to 60; 0 where the frame has no id column
  std::string group;     // "" where the frame has no group column
  Real pos[3] = {0, 0, 0};
  // From velo, else momenta over the masses column, else momenta over the
  // species' standard mass (ASE's convention); 0 where the frame has none.
  Real velo[3] = {0, 0, 0};
};

struct XyzFrame {
  std::size_t line = 0;  // of the comment line
  std::vector<XyzAtom> atoms;
  std::vector<std::pair<std::string, std::string>> info;  // the comment line, values unquoted
  // The value of a key of the comment line, or null.
  const std::string* value(const std::string& key) const;
};

// Reads the frame that starts at `pos` (line number `line`, from 1) and moves
// both past it; false when only blank text is left. A malformed frame throws
// AppError naming its line: a number --set would refuse (non-finite, beyond
// the 80-bit range), a control byte, momenta with no mass to divide by.
bool readXyzFrame(std::string_view text, std::size_t& pos, std::size_t& line, XyzFrame& frame);
// Every frame of a text.
std::vector<XyzFrame> parseXyz(std::string_view text);

// The largest text file a set is read from: a long trajectory whose last
// frame is wanted, but not a device that never ends.
constexpr std::size_t kMaxTextFileBytes = std::size_t(1) << 32;

// The whole of a trajectory file; one of kMaxTextFileBytes or more is
// refused with AppError rather than read in part. File faults throw IoError.
std::string readXyzText(const std::string& path);

// A frame lacks dt or parameters that nothing else gives: `names` lists
// them. The caller tells how to give them (--set, keyword arguments).
class XyzMissingValues : public AppError {
 public:
  explicit XyzMissingValues(std::vector<std::string> missing);
  std::vector<std::string> names;
};

// Makes `set` the frame's: each line placed by its id (lines without one
// fill particles 1, 2, ... in order), every other particle absent and zero,
// step buffers and drawing positions equal to the positions; dt, the
// parameters and the step counter from the comment line. A value the caller
// sets afterwards is named in `given`; any other missing from the frame
// throws XyzMissingValues. Throws AppError
// for an id outside 1 to 60 or given twice, a group that is not the id's, a
// value of the comment line that is not a finite number. `set` is unchanged
// on failure.
void applyXyzFrame(const XyzFrame& frame, ParticleSet& set, const std::vector<std::string>& given);

}  // namespace zentrova
