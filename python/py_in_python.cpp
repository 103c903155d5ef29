#include "py_in_python.h"

#include <pybind11/eval.h>

namespace zentrova::py {

namespace pyb = pybind11;

namespace {

constexpr const char* kPythonPart = R"py(
import collections.abc as _abc
import errno as _errno
import operator as _operator


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
    for name in ("get", "keys", "items", "values", "pop", "popitem", "clear", "update", "setdefault", "__eq__"):
        setattr(cls, name, getattr(_abc.MutableMapping, name))
    cls.__hash__ = None
    _abc.MutableMapping.register(cls)


_as_mutable_mapping(Params)


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
    """The picture of the set that render draws, for notebooks."""
    return render(self)


ParticleSet._repr_png_ = _repr_png_
del _repr_png_
)py";

}  // namespace

void addPythonPart(pyb::module_& m) { pyb::exec(kPythonPart, m.attr("__dict__")); }

void setFileError(const std::string& message, const std::string& path, int code) {
  const pyb::object error = pyb::module_::import("zentrova").attr("_file_error")(
      message, path.empty() ? pyb::object(pyb::none()) : pyb::object(pyb::str(path)),
      code ? pyb::object(pyb::int_(code)) : pyb::object(pyb::none()));
  PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
}

}  // namespace zentrova::py
