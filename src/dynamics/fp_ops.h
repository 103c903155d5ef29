#pragma once
// Arithmetic policies for the force law. The law is written once against
// these; Plain runs at full speed, Trapping reports the first faulting
// operation the way a processor with unmasked exceptions would.
#include <cfenv>
#include <cmath>

#include "dynamics/xmath.h"
#include "state/fp_guard.h"
#include "state/real.h"

namespace zentrova::fpops {

// Keeps a value alive so that terms nobody reads are still evaluated: they
// are where a bad parameter faults.
inline void keep(const Real& x) { asm volatile("" : : "m"(x)); }

struct Plain {
  static Real add(Real a, Real b) { return a + b; }
  static Real sub(Real a, Real b) { return a - b; }
  static Real mul(Real a, Real b) { return a * b; }
  static Real div(Real a, Real b) { return a / b; }
  static Real neg(Real a) { return -a; }
  static Real log(Real a) { return xmath::log(a); }
  static Real exp(Real a) { return xmath::exp(a); }
  static Real sqrt(Real a) { return sqrtl(a); }
};

// Every operand and result passes through volatile storage, which pins each
// operation between the flag tests around it: the compiler knows nothing of
// the flags and would otherwise move arithmetic across them.
struct Trapping {
  static Real done(Real r) {
    volatile Real v = r;
    if (std::fetestexcept(kFaultFlags)) throwFpFault(std::fetestexcept(kFaultFlags));
    return v;
  }
  static Real add(Real a, Real b) {
    volatile Real va = a, vb = b;
    return done(va + vb);
  }
  static Real sub(Real a, Real b) {
    volatile Real va = a, vb = b;
    return done(va - vb);
  }
  static Real mul(Real a, Real b) {
    volatile Real va = a, vb = b;
    return done(va * vb);
  }
  static Real div(Real a, Real b) {
    volatile Real va = a, vb = b;
    return done(va / vb);
  }
  static Real neg(Real a) {
    volatile Real va = a;
    return done(-va);
  }
  static Real log(Real a) {
    volatile Real va = a;
    return done(xmath::log(va));
  }
  static Real exp(Real a) {
    volatile Real va = a;
    return done(xmath::exp(va));
  }
  static Real sqrt(Real a) {
    volatile Real va = a;
    return done(sqrtl(va));
  }
};

}  // namespace zentrova::fpops
