// Writes the example sets shipped with the program, so that they can be
// rebuilt exactly: zentrova-examples OUTDIR
#include <cmath>
#include <cstdio>
#include <string>

#include "figures/figures.h"
#include "files/set_file.h"
#include "state/errors.h"
#include "state/particle_record.h"
#include "state/particle_set.h"

using namespace zentrova;

namespace {

ParticleSet emptySet(Real dt) {
  ParticleSet s;
  s.Count = kMaxParticles;
  s.Dt = dt;
  return s;
}

void place(ParticleSet& s, int i, Real x, Real y, Real z) {
  const int a = i - 1;
  s.X[a] = s.X1[a] = x;
  s.Y[a] = s.Y1[a] = y;
  s.Z[a] = s.Z1[a] = z;
  s.Ux[a] = s.Uy[a] = s.Uz[a] = s.Ux1[a] = s.Uy1[a] = s.Uz1[a] = 0;
  s.setPresent(i, true);
}

void shellParameters(ParticleSet& s) {
  s.A1 = 1;
  s.B1 = 2.718L;
  s.A2 = 1, s.B2 = 0.3L, s.C2 = 0.671L, s.D2 = 1.2L;
  s.A3 = 1, s.B3 = 0.3L, s.C3 = 0.671L, s.D3 = 1.2L;
}

// The four taons the program falls back to when it has no set.
ParticleSet easySquare() {
  ParticleSet s = emptySet(0.01L);
  buildFigure(s);
  return s;
}

// All sixty particles: the twenty of group PE on a ring of radius 4 around
// two 4 x 5 sheets of PES1 and PES2, whose neighbours sit in each other's
// 1.2 shell. Everything lies across the y axis, which the view looks along
// at start.
ParticleSet threeGroups() {
  ParticleSet s = emptySet(0.01L);
  shellParameters(s);
  const Real pi = 3.14159265358979323846264338327950288L;
  for (int n = 0; n < 20; ++n) {
    const Real a = 2 * pi * n / 20;
    place(s, 1 + n, 4 * std::cos(a), 0, 4 * std::sin(a));
  }
  for (int n = 0; n < 20; ++n) {
    const Real x = (n % 5 - 2) * 1.2L, z = (n / 5 - 1.5L) * 1.2L;
    place(s, 21 + n, x, 0.6L, z);
    place(s, 41 + n, x, -0.6L, z);
  }
  return s;
}

// Eight taons of group PE on a ring of radius 0.3 across the y axis,
// numbered round the ring so that neighbours have unlike parity.
ParticleSet taoscopeRing() {
  const Real radius = 0.3L;
  const int count = 8;
  ParticleSet s = emptySet(0.01L);
  shellParameters(s);
  const Real pi = 3.14159265358979323846264338327950288L;
  for (int n = 0; n < count; ++n) {
    const Real a = 2 * pi * n / count;
    place(s, 1 + n, radius * std::cos(a), 0, radius * std::sin(a));
  }
  return s;
}

// Eight taons of group PE on the corners of a cube of edge 2.5, at rest, with
// a weaker, shorter law (A1 = 0.5, B1 = 2) than the shell set's.
ParticleSet breathingCube() {
  ParticleSet s = emptySet(0.01L);
  shellParameters(s);
  s.A1 = 0.5L;
  s.B1 = 2;
  const Real h = 1.25L;
  for (int n = 0; n < 8; ++n) place(s, 1 + n, n & 1 ? h : -h, n & 2 ? h : -h, n & 4 ? h : -h);
  return s;
}

// Two tetrahedra of group PE, edge e, ten apart along x and drifting towards
// each other at 0.1, offset by one across y so that they meet off centre.
ParticleSet twoClusters() {
  ParticleSet s = emptySet(0.01L);
  shellParameters(s);
  s.A1 = 0.5L;
  const Real h = 2.718L / std::sqrt(8.0L);
  const Real corners[4][3] = {{h, h, h}, {h, -h, -h}, {-h, h, -h}, {-h, -h, h}};
  for (int n = 0; n < 4; ++n) {
    const Real* c = corners[n];
    place(s, 1 + n, c[0] - 5, c[1] + 0.5L, c[2]);
    s.Ux[n] = s.Ux1[n] = 0.1L;
    place(s, 5 + n, -c[0] + 5, c[1] - 0.5L, c[2]);
    s.Ux[4 + n] = s.Ux1[4 + n] = -0.1L;
  }
  return s;
}

void write(const std::string& dir, const char* name, const ParticleSet& s) {
  ParticleRecord record{};
  saveSet(s, record, dir + "/" + name);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: zentrova-examples OUTDIR\n", stderr);
    return 2;
  }
  try {
    const std::string dir = argv[1];
    write(dir, "easy-square.lis1", easySquare());
    write(dir, "three-groups.lis1", threeGroups());
    write(dir, "taoscope-ring.lis1", taoscopeRing());
    write(dir, "breathing-cube.lis1", breathingCube());
    write(dir, "two-clusters.lis1", twoClusters());
  } catch (const AppError& e) {
    std::fprintf(stderr, "zentrova-examples: %s\n", e.what());
    return 1;
  }
  return 0;
}
