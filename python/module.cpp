// The zentrova Python module: the core library's sets, force law, step and
// observables, with nothing computed here.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "analysis/conservation.h"
#include "analysis/observable_table.h"
#include "dynamics/step.h"
#include "figures/figures.h"
#include "files/io_error.h"
#include "py_in_python.h"
#include "py_rdf.h"
#include "py_real.h"
#include "py_render.h"
#include "py_set.h"
#include "py_step.h"
#include "py_xyz.h"
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
    run(s, n, every=k)    steps s, yielding observe(s) every k steps
    render(s, path)       the simulator's picture of s, PNG
    write_xyz(path, s)    a frame of an extended XYZ trajectory
    read_xyz(path, i)     frame i of a trajectory as a set (":" all)
    as_float64(x)         arrays and observe's dicts as float64

ASE (imported only when these are used)
    to_ase(s)             the present particles as ase.Atoms
    from_ase(atoms)       a set from ase.Atoms
    ZentrovaCalculator()  the force law as an ASE calculator

Sets copy, pickle (for multiprocessing) and compare with ==. step,
forces and render let other threads run while they compute.

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

// One number per observable of the table, in its order, the values of the
// CSV's columns; then why energy or momentum may change (empty while they may not).
pyb::dict observeSet(const PySet& s, bool taoscope, bool cool, bool blockade, bool peOut, bool pes1Out,
                     bool pes2Out) {
  const Observables o =
      zentrova::observe(s.set, zentrova::py::stepControls(taoscope, cool, blockade, peOut, pes1Out, pes2Out));
  pyb::dict d;
  pyb::list reasons;
  for (const std::string& r : conservationReasonTexts(o.reasons)) reasons.append(r);
  for (const ObservableColumn& col : observableTable()) {
    if (col.real)
      d[col.name] = toLongDouble(o.*col.real);
    else
      d[col.name] = o.*col.integer;
  }
  d["reasons"] = reasons;
  return d;
}

// The keys of observe's dict and whether each is a real, for the
// Observables type.
pyb::list observableKeys() {
  pyb::list keys;
  for (const ObservableColumn& col : observableTable()) keys.append(pyb::make_tuple(col.name, col.real != nullptr));
  return keys;
}

const char* observeDoc() {
  static const std::string doc =
      "The observables of s under these switches as a dict, the same as the\n"
      "Monitor and zentrova-sim show, over the present particles with unit\n"
      "masses; reals are numpy.longdouble, the same values as the CSV's\n"
      "columns. energy is kinetic + potential whatever the switches; where\n"
      "conservative is 0 it need not stay constant, and reasons lists why\n"
      "([\"Cool is on\", ...]; empty where energy and momentum stay). The energy check:\n"
      "if the drift of a conservative set's energy grows, dt is too large.\n\n" +
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
    s.set.setParticle(i, {s.set.DrawX[a], s.set.DrawY[a], s.set.DrawZ[a]}, {0, 0, 0}, true);
  }
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
      zentrova::py::setFileError(e.message, &e.path, e.error);
    } catch (const IoError& e) {
      zentrova::py::setFileError(e.what(), nullptr, e.error);
    }
  });

  zentrova::py::bindParticleSet(m);

  zentrova::py::bindDynamics(m);
  zentrova::py::bindRender(m);
  zentrova::py::bindXyz(m);
  zentrova::py::bindRdf(m);

  m.def("observe",
        [](const PySet& s, bool taoscope, bool cool, bool blockade, bool peOut, bool pes1Out, bool pes2Out) {
          s.requireNotStepping();
          return observeSet(s, taoscope, cool, blockade, peOut, pes1Out, pes2Out);
        },
        pyb::arg("s"), pyb::kw_only(), pyb::arg("taoscope") = false, pyb::arg("cool") = false,
        pyb::arg("blockade") = false, pyb::arg("pe_out") = false, pyb::arg("pes1_out") = false,
        pyb::arg("pes2_out") = false, observeDoc());

  m.def("_observable_keys", &observableKeys);

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
