// The zentrova Python module: the core library's sets, force law, step and
// observables, with nothing computed here.
#include <cmath>
#include <cstring>
#include <limits>

#include <unistd.h>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "analysis/observable_table.h"
#include "dynamics/force_law.h"
#include "dynamics/step.h"
#include "figures/figures.h"
#include "files/io_error.h"
#include "py_real.h"
#include "py_set.h"
#include "state/errors.h"

namespace pyb = pybind11;
using namespace zentrova;
using zentrova::py::PySet;
using zentrova::py::toLongDouble;

namespace {

constexpr const char* kModuleDoc = R"doc(Zentrova particle sets from Python.

The module reads and writes the program's .lis1 sets and runs the same
force law and the same step as the program and zentrova-sim, on 80-bit
reals throughout (numpy.longdouble).

Sets
    load(path)            a ParticleSet from a .lis1 file
    ParticleSet()         an empty set
    easy_square()         the four taons the program falls back to
    spiral()              the 19 points of the spiral figure
    s.save(path)          writes the set as the program does
    s.positions, s.velocities, s.present, s.dt, s.params, s.steps

Dynamics
    forces(s, ...)        the force on every particle
    step(s, n, ...)       n steps of the integration
    observe(s, ...)       energies, momenta, centre, radius, closest pair

Switches, all False by default, as on the main window:
    taoscope   Taoscope mode (else Gravoscope)
    pe_out     "PE - out": group PE exerts no force
    pes1_out   "PES1-out"
    pes2_out   "PES2-out"
    cool       "Cool": velocities damped by 0.99 each step (step, observe)
    blockade   "Blockade": particles 20, 40, 60 held (step, observe)

Errors
    FloatingPointFault    (ArithmeticError) the law faulted: "Floating
                          point division by zero", "Invalid floating
                          point operation" or "Floating point overflow"
    FileError             (OSError) a file step failed: "File not
                          found", "Read beyond end of file", ...

Example
    import zentrova
    s = zentrova.load("/usr/share/zentrova/examples/three-groups.lis1")
    zentrova.step(s, 1000, taoscope=True)
    print(zentrova.observe(s)["kinetic"])
    s.save("after.lis1")
)doc";

ForceSwitches switches(bool taoscope, bool peOut, bool pes1Out, bool pes2Out) {
  ForceSwitches sw;
  sw.taoscope = taoscope;
  sw.peOut = peOut;
  sw.pes1Out = pes1Out;
  sw.pes2Out = pes2Out;
  return sw;
}

pyb::array_t<Real> forces(const PySet& s, bool taoscope, bool peOut, bool pes1Out, bool pes2Out) {
  const ForceSwitches sw = switches(taoscope, peOut, pes1Out, pes2Out);
  pyb::array_t<Real> out({kMaxParticles, 3});
  auto f = out.mutable_unchecked<2>();
  for (int i = 1; i <= kMaxParticles; ++i) {
    if (i > s.set.Count || !s.set.present(i)) {
      for (int axis = 0; axis < 3; ++axis) f(i - 1, axis) = std::numeric_limits<Real>::quiet_NaN();
      continue;
    }
    f(i - 1, 0) = forceX(s.set, i, sw);
    f(i - 1, 1) = forceY(s.set, i, sw);
    f(i - 1, 2) = forceZ(s.set, i, sw);
  }
  return out;
}

// Worker threads do not survive a fork (multiprocessing forks by default):
// a child makes a stepper of its own and leaves its parent's copy untouched,
// since that one's threads are not there to join.
FastStepper& processStepper() {
  static FastStepper* stepper = nullptr;
  static pid_t owner = 0;
  if (!stepper || owner != getpid()) {
    stepper = new FastStepper();
    owner = getpid();
  }
  return *stepper;
}

void step(PySet& s, int n, bool taoscope, bool cool, bool blockade, bool peOut, bool pes1Out, bool pes2Out) {
  if (n < 0) throw pyb::value_error("n must not be negative");
  StepControls c;
  c.forces = switches(taoscope, peOut, pes1Out, pes2Out);
  c.cool = cool;
  c.blockade = blockade;
  s.alignStepBuffers();
  try {
    // Ctrl-C ends a long run between two steps.
    runStepsHeadless(s.set, c, n, processStepper(), [](int) {
      if (PyErr_CheckSignals() != 0) throw pyb::error_already_set();
    });
  } catch (...) {
    // Drop what the failed step left in its buffers: the set is the last
    // completed step, whatever comes next.
    s.alignStepBuffers();
    throw;
  }
}

// One entry per observable of the table, in its order; where the energy
// means nothing under the switches it is the text "not conserved: ...".
pyb::dict observeSet(const PySet& s, bool taoscope, bool cool, bool blockade, bool peOut, bool pes1Out,
                     bool pes2Out) {
  StepControls c;
  c.forces = switches(taoscope, peOut, pes1Out, pes2Out);
  c.cool = cool;
  c.blockade = blockade;
  const Observables o = zentrova::observe(s.set, c);
  pyb::dict d;
  for (const ObservableColumn& col : observableTable()) {
    const std::string instead = notConservedText(col, o);
    if (!instead.empty())
      d[col.name] = instead;
    else if (col.real)
      d[col.name] = toLongDouble(o.*col.real);
    else
      d[col.name] = o.*col.integer;
  }
  return d;
}

const char* observeDoc() {
  static const std::string doc =
      "The observables of s under these switches as a dict, the same as the\n"
      "Monitor and zentrova-sim show, over the present particles with unit\n"
      "masses; reals are numpy.longdouble. Where conservative is 0 the\n"
      "energy is the text \"not conserved: \" and the reason, not a number\n"
      "(kinetic + potential still gives it). The energy check: if the\n"
      "drift of a conservative set's energy grows, dt is too large.\n\n" +
      observablesDocumentation();
  return doc.c_str();
}

PySet easySquare() {
  PySet s;
  s.set.FigureMode = false;
  buildFigure(s.set);
  return s;
}

// The spiral lives in the drawing arrays only; as a set its points become
// particles 1-19, at rest.
PySet spiral() {
  PySet s;
  s.set.FigureMode = true;
  s.set.FigureKind = 1;
  buildFigure(s.set);
  s.set.FigureMode = false;
  for (int i = 1; i <= kSpiralPoints; ++i) {
    const int a = i - 1;
    s.set.X[a] = s.set.DrawX[a];
    s.set.Y[a] = s.set.DrawY[a];
    s.set.Z[a] = s.set.DrawZ[a];
    s.set.setPresent(i, true);
  }
  s.alignStepBuffers();
  return s;
}

}  // namespace

PYBIND11_MODULE(zentrova, m) {
  m.doc() = kModuleDoc;
  m.attr("__version__") = ZENTROVA_VERSION;

  static pyb::exception<FpError> fault(m, "FloatingPointFault", PyExc_ArithmeticError);
  fault.doc() = "A floating-point fault of the force law, with the program's message.";
  static pyb::exception<IoError> fileError(m, "FileError", PyExc_OSError);
  fileError.doc() = "A failed file step, with the program's message (\"File not found\", ...).";
  pyb::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const FpError& e) {
      fault(e.what());
    } catch (const IoError& e) {
      fileError(e.what());
    }
  });

  zentrova::py::bindParticleSet(m);

  m.def("forces", &forces, pyb::arg("s"), pyb::kw_only(), pyb::arg("taoscope") = false,
        pyb::arg("pe_out") = false, pyb::arg("pes1_out") = false, pyb::arg("pes2_out") = false,
        R"doc(The force on every particle from the positions of s: a new (60, 3)
numpy.longdouble array, rows of NaN for absent particles.

The same law, in the same order of operations, as the program and
zentrova-sim forces. Raises FloatingPointFault at the first fault
(two particles at one place, a shell parameter B2 ... D3 zero or
negative, an overflow).)doc");

  m.def("step", &step, pyb::arg("s"), pyb::arg("n") = 1, pyb::kw_only(), pyb::arg("taoscope") = false,
        pyb::arg("cool") = false, pyb::arg("blockade") = false, pyb::arg("pe_out") = false,
        pyb::arg("pes1_out") = false, pyb::arg("pes2_out") = false,
        R"doc(Advances s by n steps of the integration, in place; s.steps counts on.

Bit for bit the step of the program and zentrova-sim run. Each step
takes, for every present particle not held, v' = g v + F dt and then
x' = x + v' dt, with g = 0.99 under cool and 1 otherwise.

A fault raises FloatingPointFault with the law's message; s then holds
the last completed step. Ctrl-C stops between two steps the same way.)doc");

  m.def("observe", &observeSet, pyb::arg("s"), pyb::kw_only(), pyb::arg("taoscope") = false,
        pyb::arg("cool") = false, pyb::arg("blockade") = false, pyb::arg("pe_out") = false,
        pyb::arg("pes1_out") = false, pyb::arg("pes2_out") = false, observeDoc());

  m.def("easy_square", &easySquare,
        R"doc(The easy square: particles 1-4 at rest at the corners of a square of
side 0.424, with the default parameters (A1 = 1, B1 = 2.718, A2 = A3 = 1,
B2 = B3 = 0.3, C2 = C3 = 0.671, D2 = D3 = 1.2). dt is 0, as in the
program; set s.dt before stepping.)doc");

  m.def("spiral", &spiral,
        R"doc(The spiral figure as a set: its 19 points as particles 1-19, at rest.
The figure has no parameters and no time step: they are all 0, and
stepping it faults until s.params and s.dt are set.)doc");
}
