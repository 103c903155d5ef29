#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "state/real.h"

namespace zentrova {

using RealSlots = std::array<Real, kMaxParticles>;

// What a drawing reads, copied out of the set: the mode, the count, presence
// and the drawing positions. The drawing projects (and, for the figure, turns)
// this copy, so painting never writes the set.
struct DrawingSnapshot {
  bool FigureMode = false;
  std::int32_t Count = 0;
  std::array<std::uint8_t, kMaxParticles> Present{};
  RealSlots DrawX{}, DrawY{}, DrawZ{};

  bool present(int i) const { return Present[i - 1] != 0; }
  void setPresent(int i, bool on) { Present[i - 1] = on ? 1 : 0; }
};

// The simulation state shared by every subsystem. Particle i (1..60) lives in
// slot i - 1 of every per-particle array. Starts all zero, false or empty.
struct ParticleSet {
  bool Stopped = false;
  bool FigureMode = false;
  std::int64_t Time = 0;  // 64-bit: a long run passes 2^31 steps
  std::string StartName;
  std::string SetFileName;
  std::int32_t Count = 0;
  Real Dt = 0;
  Real A1 = 0, B1 = 0;
  Real A2 = 0, B2 = 0, C2 = 0, D2 = 0;
  Real A3 = 0, B3 = 0, C3 = 0, D3 = 0;
  RealSlots X{}, Y{}, Z{};
  RealSlots Ux{}, Uy{}, Uz{};
  // Step buffer: the end of the current step before it is committed.
  RealSlots X1{}, Y1{}, Z1{}, Ux1{}, Uy1{}, Uz1{};
  // Positions the scene drawing projects; the figures write them directly.
  RealSlots DrawX{}, DrawY{}, DrawZ{};
  // Presence bytes as stored in the file: 0 absent, anything else present.
  // Kept as bytes so that a 5 read from a file is written back as 5.
  std::array<std::uint8_t, kMaxParticles> Present{};
  // Which built-in figure figure mode shows; 1 is the spiral.
  std::int32_t FigureKind = 0;

  bool present(int i) const { return Present[i - 1] != 0; }
  void setPresent(int i, bool on) { Present[i - 1] = on ? 1 : 0; }

  // The rules that keep the arrays consistent. Every copy is bit for bit, so
  // any pattern a file or Python stored survives.

  // Writes particle i's position, velocity and presence, and makes its step
  // buffer and drawing position equal to them.
  void setParticle(int i, const Real (&pos)[3], const Real (&velo)[3], bool on);
  // Makes particle i's step buffer and drawing position equal to its live
  // position and velocity.
  void alignParticle(int i);
  // alignParticle for all 60 slots, present or not: after the live arrays
  // were written from outside (a trajectory frame, Python, a bench set).
  void alignAll();
  // Before a step: the step buffers hold the live values, so a particle the
  // step leaves alone (absent, held) commits unchanged.
  void prepareStep();
  // After a step: particle i takes the step buffer's values, and the drawing
  // shows where it now is.
  void commitParticle(int i);
  // The drawing's own copy of what it shows.
  DrawingSnapshot drawingSnapshot() const;
  // The same with the live positions in place of the drawing positions: what
  // the drawing would show once the set is aligned.
  DrawingSnapshot liveSnapshot() const;
  // Figure mode keeps the figure's orientation in its points: a drawing that
  // turned them (the spin) hands the turned points back here. In set mode,
  // or for a snapshot of the other mode, nothing changes.
  void keepFigureTurn(const DrawingSnapshot& shown);
};

// Groups by particle number, with bounds derived from Count.
enum class Group { PE, PES1, PES2 };

inline Group groupOf(int i, int count) {
  if (i <= count - 40) return Group::PE;
  if (i <= count - 20) return Group::PES1;
  return Group::PES2;
}

// The group's name as files, the listing's marks and the charts write it.
inline const char* groupName(Group g) {
  switch (g) {
    case Group::PE:
      return "PE";
    case Group::PES1:
      return "PES1";
    case Group::PES2:
      break;
  }
  return "PES2";
}

}  // namespace zentrova
