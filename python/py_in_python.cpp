#include "py_in_python.h"

#include <pybind11/eval.h>

namespace zentrova::py {

namespace pyb = pybind11;

namespace {

constexpr const char* kPythonPart = R"py(
import collections.abc as _abc
import errno as _errno
import operator as _operator
import re as _re

import numpy as _np


class FileError(OSError):
    """A file step that failed. strerror holds the program's message ("File
    not found", "File access denied", "Read beyond end of file", "Disk
    full", "I/O error N"), filename the path and errno the system's code
    where there is one. Each is also the matching built-in kind of OSError
    (FileNotFoundError, PermissionError, IsADirectoryError, ...), so
    ``except FileNotFoundError`` works."""

    def __str__(self):
        if self.filename is None:
            return str(self.strerror)
        return f"{self.strerror}: {self.filename!r}"

    def __reduce__(self):
        return _file_error, (self.strerror, self.filename, self.errno)


_MESSAGE_ERRNO = {"File not found": _errno.ENOENT, "File access denied": _errno.EACCES,
                  "Disk full": _errno.ENOSPC}
_file_error_kinds = {}


def _file_error(message, filename=None, code=None):
    # The system's errno when the program had it, else read from the message.
    if code is None:
        code = _MESSAGE_ERRNO.get(message)
    if code is None and message.startswith("I/O error "):
        try:
            code = int(message[len("I/O error "):])
        except ValueError:
            pass
    builtin = OSError if code is None else type(OSError(code, message))
    kind = _file_error_kinds.get(builtin)
    if kind is None:
        kind = FileError if builtin is OSError else type(
            builtin.__name__, (FileError, builtin), {"__module__": __name__, "__doc__": FileError.__doc__})
        _file_error_kinds[builtin] = kind
    return kind(code, message, filename)


def _as_mutable_mapping(cls):
    for name in ("keys", "items", "values", "popitem", "clear", "__eq__"):
        setattr(cls, name, getattr(_abc.MutableMapping, name))
    cls.__hash__ = None
    _abc.MutableMapping.register(cls)


_as_mutable_mapping(Params)


def _params_update(self, other=(), /, **more):
    """Sets the values named, all of them or, when one is refused, none."""
    values = {}
    if isinstance(other, _abc.Mapping):
        values.update(other.items())
    elif hasattr(other, "keys"):
        for key in other.keys():
            values[key] = other[key]
    else:
        for key, value in other:
            values[key] = value
    values.update(more)
    self._assign(values)


Params.update = _params_update
del _params_update

_NONE = object()


# The mapping methods with the positional parameters Mapping documents.
def _params_get(self, key, default=None, /):
    return _abc.Mapping.get(self, key, default)


def _params_pop(self, key, default=_NONE, /):
    if default is _NONE:
        return _abc.MutableMapping.pop(self, key)
    return _abc.MutableMapping.pop(self, key, default)


def _params_setdefault(self, key, default=None, /):
    return _abc.MutableMapping.setdefault(self, key, default)


Params.get, Params.pop, Params.setdefault = _params_get, _params_pop, _params_setdefault
del _params_get, _params_pop, _params_setdefault


class Observables(dict):
    """The keys and types of the dict observe returns (observe gives a
    plain dict), for annotations."""
    __annotations__ = {**{name: _np.longdouble if real else int for name, real in _observable_keys()},
                       "reasons": list}


class RunObservables(Observables):
    """The keys and types of the dicts run yields, for annotations."""
    __annotations__ = {name: _np.longdouble for name in (
        "energy_start", "energy_max_error", "energy_error_relative", "energy_drift", "step_ratio_max")}


class RadialBins(dict):
    """The keys and types of each pair's dict of rdf, for annotations."""
    __annotations__ = {"r_low": _np.ndarray, "r_high": _np.ndarray, "count": _np.ndarray, "g": _np.ndarray}


def run(s, n, every=1, **switches):
    """Steps s in place, n steps in all, and yields the observables (the dict
    of observe, with step and time): at the start, after every step whose
    counter is a multiple of every, and at the end, as zentrova-sim observe
    writes its rows. The switches are those of step, integrator too.

    Each dict also holds what the run measured at every step so far: work
    (that of the forces no potential accounts for, since the run began),
    energy_start, energy_max_error (the largest |E - E0|),
    energy_error_relative (that over the mean kinetic energy), energy_drift
    (the least-squares slope of E per unit time), all NaN where energy is
    not conserved, and step_ratio_max (the largest step_max over the
    closest pair's distance).

    Leaving the loop early, or Ctrl-C, leaves s at the last completed step;
    a fault raises FloatingPointFault and nothing more is yielded."""
    n = _step_count(n)
    every = _operator.index(every)
    if every < 1:
        raise ValueError(f"every takes a whole number of steps from 1, not {every}")
    step(s, 0, **switches)  # the switches are checked now, not at the first step
    _observe_switches = {k: v for k, v in switches.items() if k not in ("threads", "integrator")}
    record = _RunRecord()

    def measured():
        o = observe(s, **_observe_switches)
        o.update(record.values())
        return o

    def observations():
        step(s, 0, _record=record, **switches)
        yield measured()
        left = n
        while left:
            k = min(left, every - s.steps % every)
            step(s, k, _record=record, **switches)
            left -= k
            if left == 0 or s.steps % every == 0:
                yield measured()

    return observations()


def _repr_png_(self):
    """The picture of the set that render draws, for notebooks; None for a
    set that cannot be drawn (a value that is not finite), so that the
    notebook shows its repr instead."""
    try:
        return render(self)
    except (ArithmeticError, ValueError, RuntimeError):
        return None


ParticleSet._repr_png_ = _repr_png_
del _repr_png_


def __setstate__(self, state):
    """Makes the set the one whose __getstate__() gave state, as unpickling
    does; anything else is TypeError and leaves the set as it was."""
    self._restore_state(state)


ParticleSet.__setstate__ = __setstate__
del __setstate__


def as_float64(value):
    """value with its 80-bit reals as float64, for libraries that refuse
    numpy.longdouble (matplotlib's 3-D axes, numpy.linalg, json): arrays
    become float64 arrays, scalars Python floats, and dicts, lists and
    tuples (the rows of run, the dict of observe) are converted item by
    item. Integers and text stay as they are."""
    if isinstance(value, _np.ndarray):
        return value.astype(_np.float64) if value.dtype.kind == "f" else value
    if isinstance(value, _np.floating):
        return float(value)
    if isinstance(value, dict):
        return {k: as_float64(v) for k, v in value.items()}
    if isinstance(value, (list, tuple)):
        return type(value)(as_float64(v) for v in value)
    return value


# ASE is imported by the functions that need it, never by the module.

def to_ase(s):
    """The present particles of s as ase.Atoms, in the order of their
    numbers: positions and velocities as float64, unit masses (so that
    ASE's momenta are the velocities), the species C, N, O of the groups
    PE, PES1, PES2, the arrays "id" (1 to 60) and "group", and dt, the
    parameters and the step counter in atoms.info."""
    import ase

    rows = _np.flatnonzero(s.present)
    kinds = _xyz_groups()
    atoms = ase.Atoms([kinds[r][0] for r in rows], positions=s.positions[rows].astype(_np.float64),
                      masses=_np.ones(len(rows)), pbc=False)
    atoms.set_velocities(s.velocities[rows].astype(_np.float64))
    atoms.new_array("id", rows + 1)
    atoms.new_array("group", _np.array([kinds[r][1] for r in rows], dtype=str))
    atoms.info.update({name: float(value) for name, value in s.params.items()})
    atoms.info["step"] = s.steps
    return atoms


class _Text:
    """The text of a frame made from atoms, read by read_xyz as a file."""
    name = "atoms"

    def __init__(self, text):
        self._text = text

    def read(self):
        return self._text


def _exact(value):
    """Number text that reads back as the same 80-bit value."""
    if isinstance(value, str):
        if not value.strip() or any(c.isspace() or c in "\"'" for c in value.strip()):
            raise ValueError(f"{value!r} is not a valid floating point value")
        return value.strip()
    return _np.format_float_scientific(_np.longdouble(value), unique=True)


def _atom_error(error):
    # Lines of the frame made from atoms are atoms (from 0) and atoms.info.
    def where(match):
        n = int(match.group(1))
        return "atoms.info: " if n <= 2 else f"atom {n - 3}: "
    return ValueError(_re.sub(r"^atoms: line (\d+): ", where, str(error)))


def from_ase(atoms, **params):
    """A ParticleSet from ase.Atoms: positions, ASE's velocities (momenta
    over masses), the particle numbers of an "id" array (else 1, 2, ... in
    order) and the groups of a "group" array, dt, the parameters and the
    step counter from atoms.info. Keyword arguments (dt=0.01, A1=1, ...)
    give or replace dt and parameters; what neither gives raises
    ValueError naming it, as do a number that is not finite, a group that
    is not its particle's, and more than 60 atoms."""
    n = len(atoms)
    if n > 60:
        raise ValueError(f"atoms: {n} atoms, more than the 60 particles of a set")
    positions = _np.asarray(atoms.get_positions(), dtype=_np.float64)
    velocities = _np.asarray(atoms.get_velocities(), dtype=_np.float64)
    columns = [atoms.get_chemical_symbols(), *positions.T, *velocities.T]
    layout = "species:S:1:pos:R:3:velo:R:3"
    if "id" in atoms.arrays:
        columns.append([str(_operator.index(i)) for i in atoms.arrays["id"]])
        layout += ":id:I:1"
    if "group" in atoms.arrays:
        groups = [str(g) for g in atoms.arrays["group"]]
        for k, g in enumerate(groups):
            if not g or any(c.isspace() for c in g):
                raise ValueError(f"atom {k}: group {g!r} is not PE, PES1 or PES2")
        columns.append(groups)
        layout += ":group:S:1"
    info = [f"Properties={layout}"]
    for name in ParticleSet().params:
        if name in atoms.info:
            info.append(f"{name}={_exact(atoms.info[name])}")
    if "step" in atoms.info:
        info.append(f"step={_operator.index(atoms.info['step'])}")
    lines = [str(n), " ".join(info)]
    for row in zip(*columns):
        lines.append(" ".join(v if isinstance(v, str) else _exact(v) for v in row))
    try:
        return read_xyz(_Text("\n".join(lines) + "\n"), **params)
    except ValueError as e:
        raise _atom_error(e) from None


def _calculator_class():
    from ase.calculators.calculator import Calculator, all_changes

    class ZentrovaCalculator(Calculator):
        """Zentrova's force law for ASE: get_forces are those of forces()
        (and of zentrova-sim forces) for the set from_ase makes of the
        atoms, under the switches taoscope, pe_out, pes1_out, pes2_out,
        rounded to float64, in the order of the atoms.

        get_potential_energy is observe()'s potential: the sum of the pair
        potentials within each group. Where the present particles are of
        one group (and its pull is on) the forces are its negative
        gradient and kinetic + potential is conserved. With particles of
        several groups the forces between groups have no potential: the
        value is still the within-group sum, and it is not conserved.

        Keyword arguments other than the switches (dt=..., A1=...) give
        dt and parameters that the atoms' info lacks or replace them."""

        implemented_properties = ["energy", "free_energy", "forces"]
        default_parameters = {"taoscope": False, "pe_out": False, "pes1_out": False, "pes2_out": False}

        def __init__(self, *, taoscope=False, pe_out=False, pes1_out=False, pes2_out=False, **params):
            self.given = params
            Calculator.__init__(self, taoscope=taoscope, pe_out=pe_out, pes1_out=pes1_out, pes2_out=pes2_out)

        def calculate(self, atoms=None, properties=("energy",), system_changes=all_changes):
            Calculator.calculate(self, atoms, properties, system_changes)
            s = from_ase(self.atoms, **self.given)
            switches = {k: bool(self.parameters[k]) for k in self.default_parameters}
            n = len(self.atoms)
            ids = _np.asarray(self.atoms.arrays["id"], dtype=int) if "id" in self.atoms.arrays else _np.arange(1, n + 1)
            self.results["forces"] = forces(s, **switches)[ids - 1].astype(_np.float64)
            energy = float(observe(s, **switches)["potential"])
            self.results["energy"] = self.results["free_energy"] = energy

    ZentrovaCalculator.__module__ = __name__
    return ZentrovaCalculator


def __getattr__(name):
    # The calculator is an ASE class: made, and ASE imported, on first use.
    if name == "ZentrovaCalculator":
        cls = _calculator_class()
        globals()[name] = cls
        return cls
    raise AttributeError(f"module {__name__!r} has no attribute {name!r}")
)py";

}  // namespace

void addPythonPart(pyb::module_& m) { pyb::exec(kPythonPart, m.attr("__dict__")); }

void setFileError(const std::string& message, const std::string* path, int code) {
  const pyb::object error = pyb::module_::import("zentrova").attr("_file_error")(
      message, path ? pyb::module_::import("os").attr("fsdecode")(pyb::bytes(*path)) : pyb::object(pyb::none()),
      code ? pyb::object(pyb::int_(code)) : pyb::object(pyb::none()));
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
}

}  // namespace zentrova::py
