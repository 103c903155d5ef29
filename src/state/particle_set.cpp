#include "state/particle_set.h"

#include <cstring>

namespace zentrova {

namespace {

// Bytes, not values: a signalling NaN or an unnormal stays what it was.
void copySlot(RealSlots& to, const RealSlots& from, int a) { std::memcpy(&to[a], &from[a], sizeof(Real)); }

void copyAll(RealSlots& to, const RealSlots& from) { std::memcpy(to.data(), from.data(), sizeof(RealSlots)); }

}  // namespace

void ParticleSet::setParticle(int i, const Real (&pos)[3], const Real (&velo)[3], bool on) {
  const int a = i - 1;
  std::memcpy(&X[a], &pos[0], sizeof(Real));
  std::memcpy(&Y[a], &pos[1], sizeof(Real));
  std::memcpy(&Z[a], &pos[2], sizeof(Real));
  std::memcpy(&Ux[a], &velo[0], sizeof(Real));
  std::memcpy(&Uy[a], &velo[1], sizeof(Real));
  std::memcpy(&Uz[a], &velo[2], sizeof(Real));
  setPresent(i, on);
  alignParticle(i);
}

void ParticleSet::alignParticle(int i) {
  const int a = i - 1;
  copySlot(DrawX, X, a), copySlot(X1, X, a);
  copySlot(DrawY, Y, a), copySlot(Y1, Y, a);
  copySlot(DrawZ, Z, a), copySlot(Z1, Z, a);
  copySlot(Ux1, Ux, a), copySlot(Uy1, Uy, a), copySlot(Uz1, Uz, a);
}

void ParticleSet::alignAll() {
  prepareStep();
  copyAll(DrawX, X), copyAll(DrawY, Y), copyAll(DrawZ, Z);
}

void ParticleSet::prepareStep() {
  copyAll(X1, X), copyAll(Y1, Y), copyAll(Z1, Z);
  copyAll(Ux1, Ux), copyAll(Uy1, Uy), copyAll(Uz1, Uz);
}

void ParticleSet::commitParticle(int i) {
  const int a = i - 1;
  X[a] = X1[a], Ux[a] = Ux1[a];
  Y[a] = Y1[a], Uy[a] = Uy1[a];
  Z[a] = Z1[a], Uz[a] = Uz1[a];
  DrawX[a] = X1[a], DrawY[a] = Y1[a], DrawZ[a] = Z1[a];
}

DrawingSnapshot ParticleSet::drawingSnapshot() const {
  DrawingSnapshot d;
  d.FigureMode = FigureMode;
  d.Count = Count;
  d.Present = Present;
  copyAll(d.DrawX, DrawX), copyAll(d.DrawY, DrawY), copyAll(d.DrawZ, DrawZ);
  return d;
}

DrawingSnapshot ParticleSet::liveSnapshot() const {
  DrawingSnapshot d = drawingSnapshot();
  copyAll(d.DrawX, X), copyAll(d.DrawY, Y), copyAll(d.DrawZ, Z);
  return d;
}

void ParticleSet::keepFigureTurn(const DrawingSnapshot& shown) {
  if (!FigureMode || !shown.FigureMode) return;
  copyAll(DrawX, shown.DrawX), copyAll(DrawY, shown.DrawY), copyAll(DrawZ, shown.DrawZ);
}

}  // namespace zentrova
