// The zentrova Python module: the core library's sets, force law, step and
// observables, with nothing computed here.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "analysis/observables.h"
#include "figures/figures.h"
#include "files/io_error.h"
#include "py_in_python.h"
#include "py_real.h"
#include "py_render.h"
#include "py_set.h"
#include "py_step.h"
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
    observe(s)            energies by group, centre, radius, closest pair
    run(s, n, every=k)    steps s, yielding observe(s) every k steps
    render(s, path)       the simulator's picture of s, PNG

Sets copy, pickle (for multiprocessing) and compare with ==. step,
forces and render let other threads run while they compute.

Switches, all False by default, as on the main window:
    taoscope   Taoscope mode (else Gravoscope)
    pe_out     "PE - out": group PE exerts no force
    pes1_out   "PES1-out"
    pes2_out   "PES2-out"
    cool       "Cool": velocities damped by 0.99 each step (step only)
    blockade   "Blockade": particles 20, 40, 60 held (step only)

Errors
    FloatingPointFault    (ArithmeticError) the law faulted: "Floating
                          point division by zero", "Invalid floating
                          point operation" or "Floating point overflow"
    FileError             (OSError) a file step failed: "File not
                          found", "Read beyond end of file", ...; also
                          FileNotFoundError, PermissionError, ... as
                          the system's errno says

Example
    import zentrova
    s = zentrova.load("/usr/share/zentrova/examples/three-groups.lis1")
    zentrova.step(s, 1000, taoscope=True)
    print(zentrova.observe(s)["kinetic"])
    s.save("after.lis1")
)doc";

pyb::dict observeSet(const PySet& s) {
  const Observables o = zentrova::observe(s.set);
  pyb::dict d;
  d["step"] = o.step;
  d["time"] = toLongDouble(o.time);
  d["kinetic"] = toLongDouble(o.kinetic);
  d["kinetic_pe"] = toLongDouble(o.kinetic_pe);
  d["kinetic_pes1"] = toLongDouble(o.kinetic_pes1);
  d["kinetic_pes2"] = toLongDouble(o.kinetic_pes2);
  d["com_x"] = toLongDouble(o.com_x);
  d["com_y"] = toLongDouble(o.com_y);
  d["com_z"] = toLongDouble(o.com_z);
  d["radius"] = toLongDouble(o.radius);
  d["min_distance"] = toLongDouble(o.min_distance);
  d["min_i"] = o.min_i;
  d["min_k"] = o.min_k;
  d["present"] = o.present;
  return d;
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
  // Docstrings start with Python's own signature line, so that
  // inspect.signature and help() read them; the types are in zentrova.pyi.
  pyb::options options;
  options.disable_function_signatures();
  m.doc() = kModuleDoc;
  m.attr("__version__") = ZENTROVA_VERSION;

  static pyb::exception<FpError> fault(m, "FloatingPointFault", PyExc_ArithmeticError);
  fault.doc() = "A floating-point fault of the force law, with the program's message.";
  pyb::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const FpError& e) {
      fault(e.what());
    } catch (const zentrova::py::FileFailure& e) {
      zentrova::py::setFileError(e.message, e.path);
    } catch (const IoError& e) {
      zentrova::py::setFileError(e.what(), "");
    }
  });

  zentrova::py::bindParticleSet(m);

  zentrova::py::bindDynamics(m);
  zentrova::py::bindRender(m);

  m.def("observe",
        [](const PySet& s) {
          s.requireNotStepping();
          return observeSet(s);
        },
        pyb::arg("s"),
        R"doc(observe(s)
--

The observables of s as a dict, the same as the Monitor and
zentrova-sim show, over the present particles with unit masses:

    step           s.steps
    time           step * dt
    kinetic        sum of |u|^2 / 2; kinetic_pe, kinetic_pes1,
                   kinetic_pes2 the same by group
    com_x, com_y, com_z   mean position
    radius         rms distance from the mean position
    min_distance   closest pair, particles min_i < min_k (infinity,
                   0 and 0 with fewer than two present)
    present        number of present particles

Reals are numpy.longdouble.)doc");

  m.def("easy_square", &easySquare,
        R"doc(easy_square()
--

The easy square: particles 1-4 at rest at the corners of a square of
side 0.424, with the default parameters (A1 = 1, B1 = 2.718, A2 = A3 = 1,
B2 = B3 = 0.3, C2 = C3 = 0.671, D2 = D3 = 1.2). dt is 0, as in the
program; set s.dt before stepping.)doc");

  m.def("spiral", &spiral,
        R"doc(spiral()
--

The spiral figure as a set: its 19 points as particles 1-19, at rest.
The figure has no parameters and no time step: they are all 0, and
stepping it faults until s.params and s.dt are set.)doc");

  zentrova::py::addPythonPart(m);
}
