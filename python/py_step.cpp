#include "py_step.h"

#include <array>
#include <chrono>
#include <limits>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include <unistd.h>

#include <pybind11/numpy.h>

#include "analysis/energy_record.h"
#include "analysis/work_meter.h"
#include "dynamics/force_law.h"
#include "dynamics/step.h"
#include "dynamics/thread_count.h"
#include "py_real.h"
#include "py_set.h"

namespace zentrova::py {

namespace pyb = pybind11;

ForceSwitches switches(bool taoscope, bool peOut, bool pes1Out, bool pes2Out) {
  ForceSwitches sw;
  sw.taoscope = taoscope;
  sw.peOut = peOut;
  sw.pes1Out = pes1Out;
  sw.pes2Out = pes2Out;
  return sw;
}

StepControls stepControls(bool taoscope, bool cool, bool blockade, bool peOut, bool pes1Out, bool pes2Out) {
  StepControls c;
  c.forces = switches(taoscope, peOut, pes1Out, pes2Out);
  c.cool = cool;
  c.blockade = blockade;
  return c;
}

namespace {

pyb::array_t<Real> forces(PySet& s, bool taoscope, bool peOut, bool pes1Out, bool pes2Out) {
  const ForceSwitches sw = switches(taoscope, peOut, pes1Out, pes2Out);
  std::array<Real, 3 * kMaxParticles> f;
  f.fill(std::numeric_limits<Real>::quiet_NaN());
  {
    SetUse use(s, false);
    pyb::gil_scoped_release unlocked;
    for (int i = 1; i <= kMaxParticles && i <= s.set.Count; ++i) {
      if (!s.set.present(i)) continue;
      f[3 * (i - 1)] = forceX(s.set, i, sw);
      f[3 * (i - 1) + 1] = forceY(s.set, i, sw);
      f[3 * (i - 1) + 2] = forceZ(s.set, i, sw);
    }
  }
  pyb::array_t<Real> out({kMaxParticles, 3});
  std::copy(f.begin(), f.end(), out.mutable_data());
  return out;
}

// Steppers lent to the calls that step, one per call at a time: sets stepped
// from several threads run at once, and worker threads are made once per
// concurrent caller rather than per call. Used with the interpreter lock only.
struct StepperPool {
  pid_t owner = getpid();
  std::vector<std::pair<int, std::unique_ptr<FastStepper>>> idle;
};

StepperPool& stepperPool() {
  static StepperPool* pool = nullptr;
  // Worker threads do not survive a fork (multiprocessing forks by default):
  // a child starts a pool of its own and leaves its parent's copy untouched,
  // since those threads are not there to join.
  if (!pool || pool->owner != getpid()) pool = new StepperPool();
  return *pool;
}

class LentStepper {
 public:
  explicit LentStepper(int threads) : threads_(threads) {
    auto& idle = stepperPool().idle;
    for (auto it = idle.begin(); it != idle.end(); ++it) {
      if (it->first != threads) continue;
      stepper_ = std::move(it->second);
      idle.erase(it);
      return;
    }
    stepper_ = std::make_unique<FastStepper>(threads);
  }
  ~LentStepper() { stepperPool().idle.emplace_back(threads_, std::move(stepper_)); }
  LentStepper(const LentStepper&) = delete;
  LentStepper& operator=(const LentStepper&) = delete;
  FastStepper& get() { return *stepper_; }

 private:
  int threads_;
  std::unique_ptr<FastStepper> stepper_;
};

constexpr long long kMaxStepsPerCall = std::numeric_limits<std::int32_t>::max();

int stepCount(pyb::handle n) {
  const auto index = pyb::reinterpret_steal<pyb::object>(PyNumber_Index(n.ptr()));
  if (!index) throw pyb::error_already_set();
  long long v = 0;
  if (integerIn(index, 0, kMaxStepsPerCall, v)) return static_cast<int>(v);
  if (PyObject_RichCompareBool(index.ptr(), pyb::int_(0).ptr(), Py_LT) == 1)
    throw pyb::value_error("the number of steps must not be negative");
  throw std::overflow_error("one call takes at most 2147483647 steps, not " +
                            pyb::str(index).cast<std::string>());
}

int threadCount(pyb::handle threads) {
  if (threads.is_none()) return defaultStepThreads();
  const auto index = pyb::reinterpret_steal<pyb::object>(PyNumber_Index(threads.ptr()));
  if (!index) throw pyb::error_already_set();
  return parseThreadCount(pyb::str(index).cast<std::string>(), "threads");
}

// How often a step on another thread's lock looks for Ctrl-C.
constexpr auto kSignalCheck = std::chrono::milliseconds(50);

struct Interrupted {};

bool verletNamed(const std::string& integrator) {
  if (integrator != "euler" && integrator != "verlet")
    throw pyb::value_error("integrator is 'euler' (the default) or 'verlet', not '" + integrator + "'");
  return integrator == "verlet";
}

// What run() measures along its steps: the work of the unequal pulls and the
// energy record, at every step.
struct RunRecord {
  WorkMeter work;
  EnergyRecord energy;
  bool started = false;
  void measure(const ParticleSet& set, const StepControls& c, bool first) {
    if (first) work.start(set, c);
    else work.afterStep(set, c);
    energy.add(observeEnergy(set, c));
  }
  pyb::dict values() const {
    pyb::dict d;
    d["work"] = toLongDouble(work.work());
    d["energy_start"] = toLongDouble(energy.start());
    d["energy_max_error"] = toLongDouble(energy.maxError());
    d["energy_error_relative"] = toLongDouble(energy.relativeError());
    d["energy_drift"] = toLongDouble(energy.drift());
    d["step_ratio_max"] = toLongDouble(energy.stepRatio());
    return d;
  }
};

void step(PySet& s, pyb::handle n, bool taoscope, bool cool, bool blockade, bool peOut, bool pes1Out, bool pes2Out,
          pyb::handle threads, const std::string& integrator, RunRecord* record) {
  const int steps = stepCount(n);
  StepControls c = stepControls(taoscope, cool, blockade, peOut, pes1Out, pes2Out);
  c.verlet = verletNamed(integrator);
  LentStepper stepper(threadCount(threads));
  SetUse use(s, true);
  bool interrupted = false;
  {
    pyb::gil_scoped_release unlocked;
    using Clock = std::chrono::steady_clock;
    auto nextCheck = Clock::now() + kSignalCheck;
    // Python writes only the live arrays (through the numpy views).
    s.set.alignAll();
    if (record && !record->started) record->measure(s.set, c, true), record->started = true;
    try {
      // Ctrl-C ends a long run between two steps; a handler that raises
      // sets the interpreter's error, raised here once the lock is back.
      runStepsHeadless(s.set, c, steps, stepper.get(), [&](auto) {
        if (record) record->measure(s.set, c, false);
        if (Clock::now() < nextCheck) return;
        pyb::gil_scoped_acquire locked;
        if (PyErr_CheckSignals() != 0) throw Interrupted{};
        nextCheck = Clock::now() + kSignalCheck;
      });
    } catch (const Interrupted&) {
      interrupted = true;
    } catch (...) {
      // Drop what the failed step left in its buffers: the set is the last
      // completed step, whatever comes next.
      s.set.alignAll();
      throw;
    }
  }
  if (interrupted) throw pyb::error_already_set();
}

}  // namespace

void bindDynamics(pyb::module_& m) {
  m.def("forces", &forces, pyb::arg("s"), pyb::kw_only(), pyb::arg("taoscope") = false,
        pyb::arg("pe_out") = false, pyb::arg("pes1_out") = false, pyb::arg("pes2_out") = false,
        R"doc(forces(s, *, taoscope=False, pe_out=False, pes1_out=False, pes2_out=False)
--

The force on every particle from the positions of s: a new (60, 3)
numpy.longdouble array, rows of NaN for absent particles.

The same law, in the same order of operations, as the program and
zentrova-sim forces. Raises FloatingPointFault at the first fault
(two particles at one place, a shell parameter B2 ... D3 zero or
negative, an overflow).)doc");

  m.def("step", &step, pyb::arg("s"), pyb::arg("n") = 1, pyb::kw_only(), pyb::arg("taoscope") = false,
        pyb::arg("cool") = false, pyb::arg("blockade") = false, pyb::arg("pe_out") = false,
        pyb::arg("pes1_out") = false, pyb::arg("pes2_out") = false, pyb::arg("threads") = pyb::none(),
        pyb::arg("integrator") = "euler", pyb::arg("_record") = nullptr,
        R"doc(step(s, n=1, *, taoscope=False, cool=False, blockade=False, pe_out=False, pes1_out=False, pes2_out=False, threads=None, integrator='euler')
--

Advances s by n steps of the integration, in place; s.steps counts on.

Bit for bit the step of the program and zentrova-sim run. Each step
takes, for every present particle not held, v' = g v + F dt and then
x' = x + v' dt, with g = 0.99 under cool and 1 otherwise.
integrator='verlet' takes velocity Verlet instead, second order, with
the same law and switches: v½ = g v + F(x) dt/2, x' = x + v½ dt,
v' = v½ + F(x') dt/2; the default step stays as it is.

threads: how many threads one step uses, 1 to 16; by default
ZENTROVA_THREADS, else one per processor this process may use. Other
Python threads run meanwhile, and sets stepped from several threads
are stepped at once; stepping a set that another thread is stepping
raises RuntimeError.

n is at most 2147483647 (OverflowError beyond). A fault raises
FloatingPointFault with the law's message; s then holds the last
completed step. Ctrl-C stops between two steps the same way.)doc");

  pyb::class_<RunRecord>(m, "_RunRecord", "What run() measures along its steps.")
      .def(pyb::init<>())
      .def("values", &RunRecord::values);

  m.def("_step_count", &stepCount, pyb::arg("n"), "_step_count(n)\n--\n\nn checked as step() checks it.");
}

}  // namespace zentrova::py
