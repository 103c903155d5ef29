#pragma once
// The force law written once over an arithmetic policy (fp_ops.h). Each
// operation is its own statement in the order the law is defined, so that
// the trapping policy stops at the same first fault the law defines.
#include "dynamics/force_law.h"
#include "dynamics/fp_ops.h"

namespace zentrova::terms {

template <class P>
Real powerT(Real x, Real y) {
  const Real l = P::log(x);
  const Real m = P::mul(y, l);
  return P::exp(m);
}

// 10^-14 * 125 * 0.09 * 75, the long-range prefactor.
template <class P>
Real longRangeK() {
  Real k = powerT<P>(10.0L, -14.0L);
  k = P::mul(k, 125.0L);
  k = P::mul(k, 0.09L);
  return P::mul(k, 75.0L);
}

template <class P>
Real coreTermT(Real d, int S) {
  const Real w = P::mul(9.45L, d);
  const Real v = P::mul(0.09L, d);
  // Short range: w^(-w^19) * ((19 ln w + 1) * ((-S) 9.45 w^18)).
  const Real w19 = powerT<P>(w, 19.0L);
  const Real p1 = powerT<P>(w, P::neg(w19));
  const Real lw = P::log(w);
  const Real f = P::add(P::mul(19.0L, lw), 1.0L);
  const Real s = P::mul(Real(-S), 9.45L);
  const Real w18 = powerT<P>(w, 18.0L);
  const Real e1 = P::mul(p1, P::mul(f, P::mul(s, w18)));
  // Long range: v^(75/v) * ((1 - ln v) * (v^-2 * K)).
  const Real vinv = powerT<P>(v, -1.0L);
  const Real p2 = powerT<P>(v, P::mul(vinv, 75.0L));
  const Real lv = P::log(v);
  const Real g = P::sub(1.0L, lv);
  const Real vm2 = powerT<P>(v, -2.0L);
  const Real K = longRangeK<P>();
  const Real e2 = P::mul(p2, P::mul(g, P::mul(vm2, K)));
  return P::sub(e1, e2);
}

template <class P>
Real shellTermT(Real p, Real d) {
  const Real u = P::mul(P::div(1.029L, p), d);
  // a = (((0.1029/p)^-1 d^-2) (2.5 - u^20)) (1 - ln u)
  const Real r = powerT<P>(P::div(0.1029L, p), -1.0L);
  const Real dm2 = powerT<P>(d, -2.0L);
  Real a = P::mul(r, dm2);
  const Real u20 = powerT<P>(u, 20.0L);
  a = P::mul(a, P::sub(2.5L, u20));
  const Real lu = P::log(u);
  a = P::mul(a, P::sub(1.0L, lu));
  // b = u^18 (205.8/p) ln u
  const Real u18 = powerT<P>(u, 18.0L);
  Real b = P::mul(u18, P::div(205.8L, p));
  b = P::mul(b, P::log(u));
  // T = -(a - b) u^(((0.1029/p) d)^-1 (2.5 - u^20))
  const Real m = P::neg(P::sub(a, b));
  const Real r2 = powerT<P>(P::mul(P::div(0.1029L, p), d), -1.0L);
  const Real ex = P::mul(r2, P::sub(2.5L, powerT<P>(u, 20.0L)));
  return P::mul(m, powerT<P>(u, ex));
}

// ((((t d^-2) A1) B1) d^(B1/d)) (1 - ln d): the PE pull with its projection
// factor t = (sigma dx) / d folded in first.
template <class P>
Real peFactorT(Real t, Real d, Real A1, Real B1) {
  t = P::mul(t, powerT<P>(d, -2.0L));
  t = P::mul(t, A1);
  t = P::mul(t, B1);
  t = P::mul(t, powerT<P>(d, P::div(B1, d)));
  return P::mul(t, P::sub(1.0L, P::log(d)));
}

template <class P>
Real forceT(const ParticleSet& s, int i, Axis axis, const ForceSwitches& sw) {
  const int count = s.Count < kMaxParticles ? s.Count : kMaxParticles;
  const int a = i - 1;
  Real sum = 0.0L;
  for (int k = 1; k <= count; ++k) {
    if (!s.present(k) || k == i) continue;
    const int b = k - 1;
    const Real dx = P::sub(s.X[a], s.X[b]);
    const Real dy = P::sub(s.Y[a], s.Y[b]);
    const Real dz = P::sub(s.Z[a], s.Z[b]);
    const Real z2 = P::mul(dz, dz);
    const Real y2 = P::mul(dy, dy);
    const Real x2 = P::mul(dx, dx);
    const Real d = P::sqrt(P::add(z2, P::add(y2, x2)));
    const Real E = coreTermT<P>(d, modeSign(sw.taoscope));
    const Real tB2 = shellTermT<P>(s.B2, d);
    const Real tC2 = shellTermT<P>(s.C2, d);
    const Real tD2 = shellTermT<P>(s.D2, d);
    const Real tB3 = shellTermT<P>(s.B3, d);
    const Real tC3 = shellTermT<P>(s.C3, d);
    const Real tD3 = shellTermT<P>(s.D3, d);
    fpops::keep(E);
    fpops::keep(tB2), fpops::keep(tC2), fpops::keep(tD2);
    fpops::keep(tB3), fpops::keep(tC3), fpops::keep(tD3);
    const Real sigma = Real(pairSign(i, k, sw.taoscope));
    const Real delta = axis == Axis::X ? dx : axis == Axis::Y ? dy : dz;
    switch (groupOf(k, s.Count)) {
      case Group::PE:
        if (!sw.peOut) {
          const Real t = P::div(P::mul(sigma, delta), d);
          sum = P::sub(sum, peFactorT<P>(t, d, s.A1, s.B1));
        }
        break;
      case Group::PES1:
        if (!sw.pes1Out) {
          const Real t = P::mul(P::div(P::mul(sigma, delta), d), s.A2);
          const Real g = P::add(P::add(P::add(E, tB2), tC2), tD2);
          sum = P::add(P::mul(t, g), sum);
        }
        break;
      case Group::PES2:
        if (!sw.pes2Out) {
          const Real t = P::mul(P::div(P::mul(sigma, delta), d), s.A3);
          const Real g = P::add(P::add(P::add(E, tB3), tC3), tD3);
          sum = P::add(P::mul(t, g), sum);
        }
        break;
    }
  }
  return sum;
}

}  // namespace zentrova::terms
