#pragma once
#include "state/particle_set.h"
#include "state/real.h"

namespace zentrova {

// The main window's mode radio buttons and group check boxes, read once per
// step and handed in as plain values.
struct ForceSwitches {
  bool taoscope = false;  // Taoscope selected (else Gravoscope)
  bool peOut = false;     // "PE - out": group PE exerts no force
  bool pes1Out = false;   // "PES1-out"
  bool pes2Out = false;   // "PES2-out"
};

enum class Axis { X, Y, Z };

// e^(y ln x); the only power the law uses. Plain arithmetic: a fault leaves
// its flag raised for the caller to test.
Real power(Real x, Real y);

// +1 with Taoscope, -1 with Gravoscope.
int modeSign(bool taoscope);
// modeSign for indices of equal parity, -1 otherwise; symmetric in i and k.
int pairSign(int i, int k, bool taoscope);

// The terms of the law as functions of the distance d, evaluated exactly as
// the force does (for the editor's charts). Like power, they raise flags
// rather than throw.
Real coreTerm(Real d, int S);          // E(d)
Real shellTerm(Real p, Real d);        // T(p) at distance d
Real peLaw(Real d, Real A1, Real B1);  // -A1 B1 d^-2 d^(B1/d) (1 - ln d)

// One component of the force on present particle i (1..Count) from every
// other present particle. Throws FpError for the first faulting operation.
Real forceComponent(const ParticleSet& set, int i, Axis axis, const ForceSwitches& sw);
Real forceX(const ParticleSet& set, int i, const ForceSwitches& sw);
Real forceY(const ParticleSet& set, int i, const ForceSwitches& sw);
Real forceZ(const ParticleSet& set, int i, const ForceSwitches& sw);

}  // namespace zentrova
