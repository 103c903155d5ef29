#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "state/real.h"

namespace zentrova {

using RealSlots = std::array<Real, kMaxParticles>;

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
};

// Groups by particle number, with bounds derived from Count.
enum class Group { PE, PES1, PES2 };

inline Group groupOf(int i, int count) {
  if (i <= count - 40) return Group::PE;
  if (i <= count - 20) return Group::PES1;
  return Group::PES2;
}

}  // namespace zentrova
