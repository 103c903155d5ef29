#include "dynamics/step.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cfenv>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <limits>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <type_traits>
#include <vector>

#include "dynamics/force_terms.h"
#include "dynamics/literal_step.h"
#include "dynamics/thread_count.h"
#include "dynamics/verlet.h"
#include "dynamics/xmath.h"
#include "dynamics/zero_bounds.h"
#include "state/fp_guard.h"

namespace zentrova {

using fpops::keep;
using fpops::Plain;
using fpops::Trapping;
using literal::commit;
using literal::position;
using literal::usedCount;
using literal::velocity;

Real coolingFactor(bool cool) { return cool ? 0.99L : 1.0L; }

bool isHeld(int i, bool blockade) { return blockade && (i == 20 || i == 40 || i == 60); }

namespace literal {

void commit(ParticleSet& s, bool blockade) {
  const int count = usedCount(s);
  for (int i = 1; i <= count; ++i) {
    if (!s.present(i) || isHeld(i, blockade)) continue;
    const int a = i - 1;
    s.X[a] = s.X1[a], s.Ux[a] = s.Ux1[a];
    s.Y[a] = s.Y1[a], s.Uy[a] = s.Uy1[a];
    s.Z[a] = s.Z1[a], s.Uz[a] = s.Uz1[a];
    s.DrawX[a] = s.X1[a], s.DrawY[a] = s.Y1[a], s.DrawZ[a] = s.Z1[a];
  }
}

}  // namespace literal

void stepReference(ParticleSet& set, const StepControls& c) {
  if (c.verlet) return verletStep(set, c, [](ParticleSet& s, const StepControls& e) { stepReference(s, e); });
  literal::stepT<Plain, Trapping>(set, c);
}

// ---------------------------------------------------------------------------
// Fast step. Everything in a pair's contribution except its sign and
// projection depends on the distance alone, and d(i,k) is bit-identical to
// d(k,i), so each unordered pair is evaluated once. Powers of one base share
// their logarithm: power(x, y) is exp(y * log(x)), so exp(y * L) with
// L = log(x) computed once gives the same bits.

namespace {

constexpr int kN = kMaxParticles;
constexpr int kShells = 6;
constexpr Real kInfinity = std::numeric_limits<Real>::infinity();

struct StepParams {
  ForceSwitches sw;
  Real sMinus9;  // (-S) * 9.45
  Real K;
  // Factors of the distinct shell parameters: shellOf maps B2, C2, D2, B3,
  // C3, D3 to their entry. Equal parameters give bit-identical terms, so a
  // set whose groups share them (as the built-in ones do) evaluates each
  // shell once.
  int shells;
  int shellOf[kShells];
  Real c1[kShells], q[kShells], rq[kShells], c2[kShells];
  bool shellTame[kShells];       // the parameter lies where zero_bounds.h holds
  // Every shell is +0 for d in [allFarFrom, allFarTo]: the distances where
  // each u = c1 d, as computed, lies in [kShellFarU, kShellFarUEnd].
  Real allFarFrom, allFarTo;
  unsigned shellReadBy[kShells];  // 1: PES1's sum reads it, 2: PES2's
  Real A1, B1, A2, A3;
  int count;
  bool present[kN];
  bool moving[kN];
  Group group[kN];
  bool groupOn[3];
  int nPresent;
  std::uint8_t presentSlots[kN];  // ascending
};

struct Pair {
  std::uint8_t a, b;  // slots, a < b
  std::uint8_t flags;
  std::int8_t sigma;  // pairSign
  // a feels b's law, b feels a's; the laws and sums the pair needs.
  static constexpr std::uint8_t kToA = 1, kToB = 2, kNeedPE = 4, kNeedG1 = 8, kNeedG2 = 16;
};

struct Contributions {
  Real c[kN][kN][3];  // c[a][b][axis]: pull on a+1 from b+1, as it enters the sum
  bool active[kN][kN];
};

inline int gi(Group g) { return static_cast<int>(g); }

// The least d > 0 whose product c d, as rounded, reaches `bound` (c > 0,
// both finite): the rounded product never falls as d grows, and bound / c
// lies within an ulp or two of that d. Infinity, an empty range, should a
// few steps not find it (as under an emulator that rounds otherwise).
constexpr int kWalk = 16;
Real leastReaching(Real c, Real bound) {
  Real d = bound / c;
  for (int n = 0; c * d < bound; ++n) {
    if (n == kWalk) return kInfinity;
    d = std::nextafter(d, kInfinity);
  }
  for (int n = 0; n < kWalk; ++n) {
    const Real e = std::nextafter(d, 0.0L);
    if (c * e < bound) return d;
    d = e;
  }
  return kInfinity;
}
// The greatest d whose product c d, as rounded, stays within `bound`; 0
// should a few steps not find it.
Real greatestWithin(Real c, Real bound) {
  Real d = bound / c;
  for (int n = 0; c * d > bound; ++n) {
    if (n == kWalk) return 0.0L;
    d = std::nextafter(d, 0.0L);
  }
  for (int n = 0; n < kWalk; ++n) {
    const Real e = std::nextafter(d, kInfinity);
    if (c * e > bound) return d;
    d = e;
  }
  return 0.0L;
}

// The law of a pair once its terms are known: PES1 and PES2 sources read G1
// and G2, a PE source the rest.
struct PairLaw {
  Real G1, G2, dm2, qpe, lpe;
};

// The pulls of the pair on each other, three components each.
inline void contribute(const StepParams& p, Pair pr, const Real (&delta)[3], Real d, const PairLaw& law,
                       Contributions& out) {
  const int a = pr.a, b = pr.b;
  const Group ga = p.group[a], gb = p.group[b];
  const bool toA = pr.flags & Pair::kToA, toB = pr.flags & Pair::kToB;
  const Real sigma = Real(pr.sigma);
  Real base[3];
  for (int axis = 0; axis < 3; ++axis) base[axis] = (sigma * delta[axis]) / d;
  // a feels b's group law, with t = sigma delta / d; b feels a's, with -t.
  auto pull = [&](Group grp, Real sign, Real* to) {
    switch (grp) {
      case Group::PE:
        for (int axis = 0; axis < 3; ++axis)
          to[axis] = -(((((sign * base[axis] * law.dm2) * p.A1) * p.B1) * law.qpe) * law.lpe);
        return;
      case Group::PES1:
        for (int axis = 0; axis < 3; ++axis) to[axis] = (sign * base[axis] * p.A2) * law.G1;
        return;
      case Group::PES2:
        for (int axis = 0; axis < 3; ++axis) to[axis] = (sign * base[axis] * p.A3) * law.G2;
        return;
    }
  };
  if (toA) pull(gb, 1.0L, out.c[a][b]);
  if (toB) {
    if (toA && ga == gb) {
      for (int axis = 0; axis < 3; ++axis) out.c[b][a][axis] = -out.c[a][b][axis];
    } else {
      pull(ga, -1.0L, out.c[b][a]);
    }
  }
}

// e2, from ln v.
inline Real longRangeTerm(const StepParams& p, Real lv) {
  const Real vinv = xmath::exp(-1.0L * lv);
  const Real vm2 = xmath::exp(-2.0L * lv);
  const Real p2 = xmath::exp((vinv * 75.0L) * lv);
  const Real g = 1.0L - lv;
  return p2 * (g * (vm2 * p.K));
}

// The distance and the differences of a pair.
struct Geometry {
  Real delta[3], d;
};

inline Geometry geometryOf(const ParticleSet& s, Pair pr) {
  const int a = pr.a, b = pr.b;
  const Real dx = s.X[a] - s.X[b];
  const Real dy = s.Y[a] - s.Y[b];
  const Real dz = s.Z[a] - s.Z[b];
  const Real z2 = dz * dz;
  const Real y2 = dy * dy;
  const Real x2 = dx * dx;
  return {{dx, dy, dz}, sqrtl(z2 + (y2 + x2))};
}

// Most pairs of an evolved set: beyond every shell and the short range, and
// not within the long range's zero, so that only e2 and the PE law remain.
// (v > kLongNearV makes w > 2.4; kQuietHigh keeps w below 1e51.)
inline bool farPair(const StepParams& p, Real d) {
  return d <= zeros::kQuietHigh && 0.09L * d > zeros::kLongNearV && d >= p.allFarFrom && d <= p.allFarTo;
}

constexpr int kFarBatch = 2;

// Far pairs kFarBatch at a time, stage by stage, so that the latencies of one
// pair's exponentials overlap the other's. Each value is the one the
// general evaluation below would compute.
void evaluateFarPairs(const StepParams& p, const Pair (&pr)[kFarBatch], const Geometry (&g)[kFarBatch], Contributions& out) {
  const Real e1Zero = std::copysign(0.0L, p.sMinus9);
  bool needG[kFarBatch], needPE[kFarBatch];
  Real lv[kFarBatch], ld[kFarBatch];
  for (int k = 0; k < kFarBatch; ++k) {
    needG[k] = pr[k].flags & (Pair::kNeedG1 | Pair::kNeedG2);
    needPE[k] = pr[k].flags & Pair::kNeedPE;
    lv[k] = needG[k] ? xmath::log(0.09L * g[k].d) : 0.0L;
    ld[k] = needPE[k] ? xmath::log(g[k].d) : 0.0L;
  }
  Real vinv[kFarBatch], vm2[kFarBatch], dm2[kFarBatch];
  for (int k = 0; k < kFarBatch; ++k) {
    vinv[k] = needG[k] ? xmath::exp(-1.0L * lv[k]) : 0.0L;
    vm2[k] = needG[k] ? xmath::exp(-2.0L * lv[k]) : 0.0L;
    dm2[k] = needPE[k] ? xmath::exp(-2.0L * ld[k]) : 0.0L;
  }
  PairLaw law[kFarBatch];
  for (int k = 0; k < kFarBatch; ++k) {
    const Real p2 = needG[k] ? xmath::exp((vinv[k] * 75.0L) * lv[k]) : 0.0L;
    const Real qpe = needPE[k] ? xmath::exp((p.B1 / g[k].d) * ld[k]) : 0.0L;
    const Real E = e1Zero - p2 * ((1.0L - lv[k]) * (vm2[k] * p.K));
    law[k].G1 = law[k].G2 = ((E + 0.0L) + 0.0L) + 0.0L;
    law[k].dm2 = dm2[k], law[k].qpe = qpe, law[k].lpe = 1.0L - ld[k];
  }
  for (int k = 0; k < kFarBatch; ++k) contribute(p, pr[k], g[k].delta, g[k].d, law[k], out);
}

void evaluatePair(const StepParams& p, Pair pr, const Geometry& geo, Contributions& out) {
  using namespace zeros;
  const Real d = geo.d;
  const Real(&delta)[3] = geo.delta;
  const bool needPE = pr.flags & Pair::kNeedPE;
  const unsigned needG = (pr.flags & Pair::kNeedG1 ? 1u : 0u) | (pr.flags & Pair::kNeedG2 ? 2u : 0u);
  // A term is left out where its value is a known exact zero, or where no
  // contribution reads it and it cannot fault (zero_bounds.h); elsewhere it
  // is evaluated, read or not, since that is where a bad distance faults.
  // The comparisons are false for a NaN.
  const bool quiet = d >= kQuietLow && d <= kQuietHigh;
  const bool coreNeeded = needG != 0 || !quiet;
  const Real w = 9.45L * d;
  const Real v = 0.09L * d;
  const Real e1Zero = std::copysign(0.0L, p.sMinus9);
  PairLaw law{0, 0, 0, 0, 0};

  const bool e1Eval = coreNeeded && !(w >= kCoreFarW && w < kCoreFarWEnd);
  const bool e2Eval = coreNeeded && !(v >= kLongNearVStart && v <= kLongNearV);
  const int ns = p.shells;
  Real Tu[kShells], u[kShells];
  int ev[kShells], ne = 0;
  for (int j = 0; j < ns; ++j) {
    const Real uj = p.c1[j] * d;
    if (p.shellTame[j] && uj >= kShellFarU && uj <= kShellFarUEnd)
      Tu[j] = 0.0L;
    else if (p.shellTame[j] && uj <= kShellNearU && uj >= kShellNearUStart)
      Tu[j] = -0.0L;
    else if (p.shellTame[j] && quiet && !(p.shellReadBy[j] & needG))
      Tu[j] = 0.0L;  // read by no contribution
    else
      u[j] = uj, ev[ne++] = j;
  }

  // Every logarithm first, then the exponentials that need only those, then
  // the rest: the calls of one stage do not wait for each other, so the
  // processor overlaps them. Each value is still the law's own operation on
  // the law's own operands.
  const bool needD = needPE || ne > 0;
  const Real lw = e1Eval ? xmath::log(w) : 0.0L;
  const Real lv = e2Eval ? xmath::log(v) : 0.0L;
  const Real ld = needD ? xmath::log(d) : 0.0L;
  Real lu[kShells], lq[kShells];
  for (int n = 0; n < ne; ++n) {
    const int j = ev[n];
    lu[j] = xmath::log(u[j]);
    lq[j] = xmath::log(p.q[j] * d);
  }

  const Real dm2 = needD ? xmath::exp(-2.0L * ld) : 0.0L;
  Real u20[kShells], u18[kShells], r2[kShells];
  for (int n = 0; n < ne; ++n) {
    const int j = ev[n];
    u20[j] = xmath::exp(20.0L * lu[j]);
    u18[j] = xmath::exp(18.0L * lu[j]);
    r2[j] = xmath::exp(-1.0L * lq[j]);
  }

  Real E = 0;
  if (coreNeeded) {
    Real e1 = e1Zero;
    if (e1Eval) {
      const Real w19 = xmath::exp(19.0L * lw);
      const Real w18 = xmath::exp(18.0L * lw);
      const Real p1 = xmath::exp((-w19) * lw);
      const Real f = 19.0L * lw + 1.0L;
      e1 = p1 * (f * (p.sMinus9 * w18));
    }
    E = e1 - (e2Eval ? longRangeTerm(p, lv) : 0.0L);
    keep(E);
  }

  // Shell terms.
  for (int n = 0; n < ne; ++n) {
    const int j = ev[n];
    Real ta = (p.rq[j] * dm2) * (2.5L - u20[j]);
    ta = ta * (1.0L - lu[j]);
    const Real tb = (u18[j] * p.c2[j]) * lu[j];
    const Real m = -(ta - tb);
    const Real ex = r2[j] * (2.5L - u20[j]);
    Tu[j] = m * xmath::exp(ex * lu[j]);
    keep(Tu[j]);
  }
  Real T[kShells];
  for (int j = 0; j < kShells; ++j) T[j] = Tu[p.shellOf[j]];
  law.G1 = ((E + T[0]) + T[1]) + T[2];
  law.G2 = ((E + T[3]) + T[4]) + T[5];
  law.dm2 = dm2;
  if (needPE) {
    law.qpe = xmath::exp((p.B1 / d) * ld);
    law.lpe = 1.0L - ld;
  }
  contribute(p, pr, delta, d, law, out);
}

// The pairs [first, last), far ones kFarBatch at a time.
void evaluatePairs(const ParticleSet& s, const StepParams& p, const Pair* first, const Pair* last,
                   Contributions& out) {
  Pair far[kFarBatch];
  Geometry farGeo[kFarBatch];
  int held = 0;
  for (; first != last; ++first) {
    const Geometry g = geometryOf(s, *first);
    if (!farPair(p, g.d)) {
      evaluatePair(p, *first, g, out);
      continue;
    }
    far[held] = *first, farGeo[held] = g;
    if (++held == kFarBatch) evaluateFarPairs(p, far, farGeo, out), held = 0;
  }
  for (int k = 0; k < held; ++k) evaluatePair(p, far[k], farGeo[k], out);
}

}  // namespace

// A pool of its own rather than OpenMP: that runtime ends the process when it
// cannot create a thread, and its parallel loops end in a barrier that waits
// for every thread of the team, even one that has no processor.
//
// Up to this many threads share a step: 1770 pairs in chunks of 8 still give
// each of them a dozen chunks. Below kMinParallelPairs a step is done by the
// calling thread alone, where waking a worker costs more than it saves.
constexpr int kMaxThreads = 16;
constexpr std::size_t kChunk = 8;
constexpr std::size_t kMinParallelPairs = 64;
constexpr std::uint64_t kClosed = 0xFFFFFFFFu;  // a ticket's pair past any step's count

struct FastStepper::Impl {
  int nthreads = 1;
  std::vector<std::thread> workers;
  // Workers spin for 0.2 ms after each step before they sleep: headless
  // steps follow each other within microseconds, while between the window's
  // steps the drawing takes longer and a spinning worker would only keep a
  // processor from others. A step never waits for a sleeping worker.
  std::mutex m;
  std::condition_variable wake;
  std::atomic<std::uint32_t> offered{0};  // the last step offered to the workers
  std::atomic<bool> stopping{false};

  std::mutex stepMutex;  // one step at a time

  // The step being worked on. Chunks are claimed from `ticket`: the step's
  // number in the high half, the next pair in the low half. A worker that
  // wakes late holds an old number and claims nothing, so the step never
  // waits for a thread that has no processor, only for chunks being worked.
  std::uint32_t stepNumber = 0;
  std::atomic<std::uint64_t> ticket{0};
  std::atomic<std::size_t> total{0}, done{0};
  std::atomic<int> raised{0};
  bool shared = false;  // some step went to the workers
  const ParticleSet* set = nullptr;
  StepParams params;
  std::vector<Pair> pairs;
  fenv_t env;
  Contributions contributions;

  explicit Impl(int threads) {
    // A thread that cannot be created leaves the pool smaller.
    try {
      for (int w = 1; w < threads; ++w) workers.emplace_back([this] { workerLoop(); });
    } catch (const std::exception&) {  // std::system_error, or no memory for its state
    }
    nthreads = 1 + static_cast<int>(workers.size());
  }

  ~Impl() {
    {
      std::lock_guard<std::mutex> lock(m);
      stopping = true;
    }
    wake.notify_all();
    for (auto& t : workers) t.join();
  }

  static void relax() { asm volatile("pause"); }

  void workerLoop() {
    std::uint32_t seen = 0;
    for (;;) {
      const auto spinUntil = std::chrono::steady_clock::now() + std::chrono::microseconds(200);
      for (int n = 0; offered.load() == seen && !stopping.load(); ++n) {
        relax();
        if ((n & 255) == 255) std::this_thread::yield();
        if ((n & 1023) == 1023 && std::chrono::steady_clock::now() > spinUntil) {
          std::unique_lock<std::mutex> lock(m);
          wake.wait(lock, [&] { return stopping.load() || offered.load() != seen; });
        }
      }
      if (stopping.load()) return;
      seen = offered.load();
      work(seen);
    }
  }

  // The next chunk of step `number`, if that step still has one.
  bool claim(std::uint32_t number, std::size_t& start) {
    std::uint64_t t = ticket.load(std::memory_order_acquire);
    do {
      if (static_cast<std::uint32_t>(t >> 32) != number) return false;
      start = static_cast<std::uint32_t>(t);
      if (start >= total.load(std::memory_order_relaxed)) return false;
    } while (!ticket.compare_exchange_weak(t, t + kChunk, std::memory_order_acq_rel));
    return true;
  }

  // Flags are per thread: a thread works in the caller's environment with
  // clear flags, and reports what it raised once, after its last chunk and
  // before its pairs count as done.
  void work(std::uint32_t number) {
    std::size_t start, finished = 0;
    while (claim(number, start)) {
      if (finished == 0) fesetenv(&env), clearFpFaults();
      const std::size_t end = std::min(pairs.size(), start + kChunk);
      evaluatePairs(*set, params, pairs.data() + start, pairs.data() + end, contributions);
      finished += end - start;
    }
    if (finished == 0) return;
    asm volatile("" : : : "memory");
    if (const int r = std::fetestexcept(kFaultFlags)) raised.fetch_or(r);
    done.fetch_add(finished, std::memory_order_release);
  }

  void evaluateAllPairs() {
    fegetenv(&env);
    raised.store(0);
    done.store(0);
    total.store(pairs.size());
    const std::uint32_t number = ++stepNumber;
    ticket.store(std::uint64_t(number) << 32, std::memory_order_release);
    if (nthreads > 1 && pairs.size() >= kMinParallelPairs) {
      shared = true;
      {
        std::lock_guard<std::mutex> lock(m);
        offered.store(number);
      }
      wake.notify_all();
    }
    work(number);
    // Chunks still held by a worker: spin briefly, then give the processor
    // up, since the holder may be waiting for it.
    for (int n = 0; done.load(std::memory_order_acquire) != pairs.size(); ++n) {
      relax();
      if (n > 4096) std::this_thread::yield();
    }
    // Closed before the next step changes the pairs and their count: a
    // worker that arrives late for this step claims nothing, even when the
    // next step has more pairs.
    ticket.store((std::uint64_t(number) << 32) | kClosed, std::memory_order_release);
    fesetenv(&env);
  }

  // Parameter-only factors; computed by the same operations the law uses.
  void prepare(const ParticleSet& s, const StepControls& c) {
    StepParams& p = params;
    p.sw = c.forces;
    p.sMinus9 = Real(-modeSign(c.forces.taoscope)) * 9.45L;
    p.K = terms::longRangeK<Plain>();
    const Real shells[kShells] = {s.B2, s.C2, s.D2, s.B3, s.C3, s.D3};
    p.shells = 0;
    for (int j = 0; j < kShells; ++j) {
      int same = 0;
      while (same < j && std::memcmp(&shells[same], &shells[j], 10) != 0) ++same;
      if (same < j) {
        p.shellOf[j] = p.shellOf[same];
        p.shellReadBy[p.shellOf[j]] |= j < 3 ? 1u : 2u;
        continue;
      }
      const int e = p.shellOf[j] = p.shells++;
      p.shellReadBy[e] = j < 3 ? 1u : 2u;
      p.shellTame[e] = shells[j] >= zeros::kParamLow && shells[j] <= zeros::kParamHigh;
      p.c1[e] = 1.029L / shells[j];
      p.q[e] = 0.1029L / shells[j];
      p.rq[e] = terms::powerT<Plain>(p.q[e], -1.0L);
      p.c2[e] = 205.8L / shells[j];
      keep(p.c1[e]), keep(p.rq[e]), keep(p.c2[e]);
    }
    p.allFarFrom = 0.0L, p.allFarTo = kInfinity;
    for (int e = 0; e < p.shells; ++e) {
      if (!p.shellTame[e]) {
        p.allFarFrom = kInfinity;  // an empty range
        break;
      }
      p.allFarFrom = std::max(p.allFarFrom, leastReaching(p.c1[e], zeros::kShellFarU));
      p.allFarTo = std::min(p.allFarTo, greatestWithin(p.c1[e], zeros::kShellFarUEnd));
    }
    p.A1 = s.A1, p.B1 = s.B1, p.A2 = s.A2, p.A3 = s.A3;
    p.count = usedCount(s);
    p.groupOn[gi(Group::PE)] = !c.forces.peOut;
    p.groupOn[gi(Group::PES1)] = !c.forces.pes1Out;
    p.groupOn[gi(Group::PES2)] = !c.forces.pes2Out;
    for (int i = 1; i <= kN; ++i) {
      const bool in = i <= p.count && s.present(i);
      p.present[i - 1] = in;
      p.moving[i - 1] = in && !isHeld(i, c.blockade);
      p.group[i - 1] = groupOf(i, s.Count);
    }
    p.nPresent = 0;
    for (int a = 0; a < p.count; ++a)
      if (p.present[a]) p.presentSlots[p.nPresent++] = static_cast<std::uint8_t>(a);
    pairs.clear();
    for (int m = 0; m < p.nPresent; ++m)
      for (int n = m + 1; n < p.nPresent; ++n) {
        const std::uint8_t a = p.presentSlots[m], b = p.presentSlots[n];
        if (!p.moving[a] && !p.moving[b]) continue;
        const Group ga = p.group[a], gb = p.group[b];
        const bool toA = p.moving[a] && p.groupOn[gi(gb)], toB = p.moving[b] && p.groupOn[gi(ga)];
        contributions.active[a][b] = toA, contributions.active[b][a] = toB;
        auto needs = [&](Group g) { return (toA && gb == g) || (toB && ga == g); };
        const int flags = (toA ? Pair::kToA : 0) | (toB ? Pair::kToB : 0) | (needs(Group::PE) ? Pair::kNeedPE : 0) |
                          (needs(Group::PES1) ? Pair::kNeedG1 : 0) | (needs(Group::PES2) ? Pair::kNeedG2 : 0);
        const int sigma = pairSign(a + 1, b + 1, c.forces.taoscope);
        pairs.push_back({a, b, static_cast<std::uint8_t>(flags), static_cast<std::int8_t>(sigma)});
      }
  }

  // What prepare() reads, byte for byte: a step that finds the same as the
  // last one reuses its preparation.
  static constexpr std::size_t kKeyBytes = 10 * 10 + 5 + sizeof(int) + kN;
  using Key = std::array<unsigned char, kKeyBytes>;
  static Key keyOf(const ParticleSet& s, const StepControls& c) {
    Key k{};
    unsigned char* at = k.data();
    for (const Real* r : {&s.A1, &s.B1, &s.A2, &s.B2, &s.C2, &s.D2, &s.A3, &s.B3, &s.C3, &s.D3}) {
      std::memcpy(at, r, 10);
      at += 10;
    }
    *at++ = c.forces.taoscope, *at++ = c.forces.peOut, *at++ = c.forces.pes1Out, *at++ = c.forces.pes2Out;
    *at++ = c.blockade;
    std::memcpy(at, &s.Count, sizeof(int));
    at += sizeof(int);
    for (int i = 1; i <= kN; ++i) *at++ = s.present(i);
    return k;
  }
  Key preparedKey{};
  bool prepared = false;

  // False when anything faulted or came out non-finite; the caller then
  // leaves the set alone and takes the literal step.
  bool tryStep(ParticleSet& s, const StepControls& c) {
    clearFpFaults();
    const Key key = keyOf(s, c);
    if (!prepared || key != preparedKey) {
      prepared = false;
      prepare(s, c);
      if (std::fetestexcept(kFaultFlags)) return false;
      preparedKey = key, prepared = true;
    }
    set = &s;
    if (nthreads > 1 && pairs.size() >= kMinParallelPairs) {
      // Leaves the flags as they were before it, clear of faults.
      evaluateAllPairs();
      if (raised.load()) return false;
    } else {
      // This thread alone: its flags are tested once, at the end.
      evaluatePairs(s, params, pairs.data(), pairs.data() + pairs.size(), contributions);
    }

    Real newU[3][kN], newX[3][kN];
    const Real dt = s.Dt;
    const int np = params.nPresent;
    for (int m = 0; m < np; ++m) {
      const int a = params.presentSlots[m];
      if (!params.moving[a]) continue;
      // The three sums side by side, each in the order of the sources.
      Real sum[3] = {0.0L, 0.0L, 0.0L};
      for (int n = 0; n < np; ++n) {
        const int b = params.presentSlots[n];
        if (b == a || !contributions.active[a][b]) continue;
        const Real(&cb)[3] = contributions.c[a][b];
        sum[0] = sum[0] + cb[0], sum[1] = sum[1] + cb[1], sum[2] = sum[2] + cb[2];
      }
      for (int axis = 0; axis < 3; ++axis) {
        const Real F = sum[axis] * dt;
        const Real g = coolingFactor(c.cool);
        const Real u = g * velocity(s, axis)[a] + F;
        newU[axis][a] = u;
        newX[axis][a] = position(s, axis)[a] + u * dt;
      }
    }
    asm volatile("" : : : "memory");
    if (std::fetestexcept(kFaultFlags)) return false;
    for (int a = 0; a < params.count; ++a) {
      if (!params.moving[a]) continue;
      for (int axis = 0; axis < 3; ++axis)
        if (!std::isfinite(newU[axis][a]) || !std::isfinite(newX[axis][a])) return false;
    }
    for (int a = 0; a < params.count; ++a) {
      if (!params.moving[a]) continue;
      for (int axis = 0; axis < 3; ++axis) {
        velocity(s, axis)[a] = newU[axis][a];
        position(s, axis)[a] = newX[axis][a];
      }
    }
    commit(s, c.blockade);
    return true;
  }
};

FastStepper::FastStepper(int threads) {
  if (threads <= 0) {
    try {
      threads = defaultStepThreads();
    } catch (const std::invalid_argument&) {  // a bad ZENTROVA_THREADS: its users report it
      threads = processorThreads();
    }
  }
  impl_ = std::make_unique<Impl>(std::clamp(threads, 1, kMaxThreads));
}

FastStepper::~FastStepper() = default;

int FastStepper::threads() const { return impl_->nthreads; }

int FastStepper::threadsUsed() const {
  std::lock_guard<std::mutex> lock(impl_->stepMutex);
  return impl_->shared ? impl_->nthreads : 1;
}

void FastStepper::step(ParticleSet& set, const StepControls& controls) {
  if (controls.verlet)
    return verletStep(set, controls, [this](ParticleSet& s, const StepControls& e) { step(s, e); });
  std::lock_guard<std::mutex> lock(impl_->stepMutex);
  if (!impl_->tryStep(set, controls)) {
    clearFpFaults();
    stepReference(set, controls);
  }
}

void integrateStep(ParticleSet& set, const StepControls& controls) {
  static FastStepper stepper;
  stepper.step(set, controls);
}

void integrateWholeStep(ParticleSet& set, const StepControls& controls) {
  const RealSlots buffers[6] = {set.X1, set.Y1, set.Z1, set.Ux1, set.Uy1, set.Uz1};
  try {
    integrateStep(set, controls);
  } catch (...) {
    set.X1 = buffers[0], set.Y1 = buffers[1], set.Z1 = buffers[2];
    set.Ux1 = buffers[3], set.Uy1 = buffers[4], set.Uz1 = buffers[5];
    throw;
  }
}

namespace {

template <class StepFn>
void runSteps(ParticleSet& set, std::int64_t steps, const StepCallback& afterStep, StepFn stepOnce) {
  for (std::int64_t s = 0; s < steps; ++s) {
    const std::int64_t n = set.Time + 1;
    if constexpr (std::is_same_v<decltype(stepOnce()), bool>) {
      if (!stepOnce()) return;
    } else {
      stepOnce();
    }
    set.Time = n;
    if (afterStep) afterStep(n);
  }
}

}  // namespace

void runStepsHeadless(ParticleSet& set, const StepControls& controls, std::int64_t steps, bool reference,
                      const StepCallback& afterStep) {
  runSteps(set, steps, afterStep, [&] {
    if (reference)
      stepReference(set, controls);
    else
      integrateStep(set, controls);
  });
}

void runStepsHeadless(ParticleSet& set, const StepControls& controls, std::int64_t steps, FastStepper& stepper,
                      const StepCallback& afterStep) {
  runSteps(set, steps, afterStep, [&] { stepper.step(set, controls); });
}

std::int64_t runStepsUntil(ParticleSet& set, const StepControls& controls, std::int64_t steps, FastStepper* stepper,
                           const std::function<bool()>& stop, const StepCallback& afterStep) {
  std::int64_t done = 0;
  runSteps(set, steps, afterStep, [&] {
    if (stop && stop()) return false;
    if (stepper)
      stepper->step(set, controls);
    else
      stepReference(set, controls);
    ++done;
    return true;
  });
  return done;
}

}  // namespace zentrova
