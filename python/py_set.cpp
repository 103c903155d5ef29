#include "py_set.h"

#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include <unistd.h>

#include <pybind11/numpy.h>

#include "files/file_formats.h"
#include "files/set_file.h"
#include "files/xyz.h"
#include "py_real.h"
#include "state/errors.h"
#include "state/named_parameters.h"
#include "state/number_text.h"

namespace zentrova::py {

namespace pyb = pybind11;

PySet::PySet() { set.Count = kMaxParticles; }

// A file is read and written in the format its extension names; any other
// name is a .lis1 record, read as the window reads one (its first record).
PySet PySet::load(const std::string& path) {
  PySet s;
  const FileFormat* f = formatOfPath(path);
  if (f == formatNamed("lis1")) f = nullptr;
  if (f && !f->readSet) throw pyb::value_error(path + ": a " + f->name + " file holds no set to load");
  try {
    pyb::gil_scoped_release unlocked;
    if (f) {
      readSetAs(*f, path, s.record, s.set, {});
      return s;
    }
    readSetFile(path, s.record);
  } catch (const IoError& e) {
    throw FileFailure{e.what(), path, e.error};
  } catch (const XyzMissingValues& e) {
    throw pyb::value_error(path + ": " + e.what() + "; read it with read_xyz(path, dt=...) to give them");
  } catch (const AppError& e) {
    throw pyb::value_error(path + ": " + e.what());
  }
  loadRecordIntoSet(s.record, s.set);
  return s;
}

void PySet::save(const std::string& path) {
  const FileFormat* f = formatOfPath(path);
  if (!f) f = formatNamed("lis1");
  if (!f->writeSet) throw pyb::value_error(path + ": a set cannot be saved as " + f->name);
  try {
    f->writeSet(path, set, record, set.Time, false);
  } catch (const IoError& e) {
    throw FileFailure{e.what(), path, e.error};
  }
}

ParticleRecord PySet::snapshot() const {
  ParticleRecord r = record;
  snapshotSetIntoRecord(set, r);
  return r;
}

int PySet::Use::now() const { return pid == getpid() ? count : 0; }

void PySet::requireNotStepping() const {
  if (use.now() < 0) throw std::runtime_error("the set is being stepped in another thread; wait for that step to end");
}

void PySet::requireUnused() const {
  requireNotStepping();
  if (use.now() > 0) throw std::runtime_error("the set is in use in another thread; wait for that call to end");
}

SetUse::SetUse(PySet& s, bool writes) : s_(s), writes_(writes) {
  writes ? s.requireUnused() : s.requireNotStepping();
  if (s.use.pid != getpid()) {
    s.use.count = 0;
    s.use.pid = getpid();
  }
  s.use.count = writes ? -1 : s.use.count + 1;
}

SetUse::~SetUse() { s_.use.count = writes_ ? 0 : s_.use.count - 1; }

namespace {

Real ParticleSet::*fieldNamed(pyb::handle key) {
  if (pyb::isinstance<pyb::str>(key))
    if (const NamedParameter* n = parameterNamed(key.cast<std::string>())) return n->field;
  throw pyb::key_error(pyb::repr(key).cast<std::string>());
}

// A (60, 3) view of three consecutive arrays of the set (X, Y, Z or Ux, Uy,
// Uz), kept alive by the Python object that owns the set.
pyb::array tripleView(pyb::object owner, RealSlots& first, RealSlots& second, RealSlots& third) {
  const auto at = [](RealSlots& a) { return reinterpret_cast<char*>(a.data()); };
  const pyb::ssize_t stride = at(second) - at(first);
  if (at(third) - at(second) != stride) throw std::logic_error("particle arrays are not evenly spaced");
  return pyb::array(pyb::dtype::of<Real>(), {kMaxParticles, 3},
                    {static_cast<pyb::ssize_t>(sizeof(Real)), stride}, first.data(), owner);
}

pyb::array positionsOf(pyb::object self) {
  ParticleSet& s = self.cast<PySet&>().set;
  return tripleView(self, s.X, s.Y, s.Z);
}

pyb::array velocitiesOf(pyb::object self) {
  ParticleSet& s = self.cast<PySet&>().set;
  return tripleView(self, s.Ux, s.Uy, s.Uz);
}

pyb::array presentOf(pyb::object self) {
  ParticleSet& s = self.cast<PySet&>().set;
  return pyb::array(pyb::dtype::of<std::uint8_t>(), {kMaxParticles}, {1}, s.Present.data(), self);
}

// Whole arrays are checked before anything is written: numpy alone would
// broadcast a wrong shape and turn None into NaN.
void assignArray(pyb::object self, pyb::array view, pyb::handle value, const char* what, bool bytes) {
  self.cast<PySet&>().requireUnused();
  const std::string name = what;
  const std::string takes = bytes ? " takes 60 presence bytes (booleans or integers 0 to 255)"
                                  : " takes a (60, 3) array of reals";
  if (value.is_none()) throw pyb::type_error(name + takes + ", not None");
  pyb::array a = pyb::module_::import("numpy").attr("asarray")(value);
  const char kind = a.dtype().kind();
  const bool fits = bytes ? (kind == 'b' || kind == 'i' || kind == 'u') : (kind == 'i' || kind == 'u' || kind == 'f');
  if (!fits) throw pyb::type_error(name + takes + ", not " + pyb::str(a.dtype()).cast<std::string>());
  const bool sameShape = a.ndim() == view.ndim() && std::equal(view.shape(), view.shape() + view.ndim(), a.shape());
  if (!sameShape) throw pyb::value_error(name + takes + ", not shape " + pyb::str(a.attr("shape")).cast<std::string>());
  if (bytes && kind != 'b' && a.size() > 0 &&
      (a.attr("min")() < pyb::int_(0) || a.attr("max")() > pyb::int_(255)))
    throw pyb::value_error(name + takes + "; a value is out of range");
  view[pyb::ellipsis()] = a;
}

// The ten parameters and dt as a mapping bound to its set: reads and writes
// go straight to the set.
struct Params {
  pyb::object owner;
  PySet& set() const { return owner.cast<PySet&>(); }
};

// Every name and value is read before anything changes. `values` is owned
// here: assigning a set's own params to it makes a temporary list of items.
void setParams(PySet& s, const pyb::object& values) {
  if (!pyb::isinstance(values, pyb::module_::import("collections.abc").attr("Mapping")))
    throw pyb::type_error("params takes a mapping of names (dt, A1 ... D3) to reals");
  const pyb::list items(values.attr("items")());
  std::vector<std::pair<Real ParticleSet::*, Real>> updates;
  for (const pyb::handle item : items) {
    const pyb::tuple pair(pyb::reinterpret_borrow<pyb::object>(item));
    updates.emplace_back(fieldNamed(pair[0]), finiteRealFrom(pair[1], pyb::str(pair[0]).cast<std::string>()));
  }
  s.requireUnused();
  for (const auto& [field, value] : updates) s.set.*field = value;
}

pyb::tuple pickleState(const PySet& s) {
  s.requireNotStepping();
  const ParticleRecord r = s.snapshot();
  return pyb::make_tuple(pyb::bytes(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()), s.set.Time);
}

// The state pickle made: anything else is refused before the set changes.
void restoreState(PySet& s, pyb::handle state) {
  const char* bad = "a ParticleSet is restored from its __getstate__(): (3784 record bytes, step counter)";
  if (!pyb::isinstance<pyb::tuple>(state)) throw pyb::type_error(bad);
  const auto t = pyb::reinterpret_borrow<pyb::tuple>(state);
  if (t.size() != 2 || !pyb::isinstance<pyb::bytes>(t[0]) || !pyb::isinstance<pyb::int_>(t[1]))
    throw pyb::type_error(bad);
  const std::string bytes = t[0].cast<std::string>();
  long long steps = 0;
  if (bytes.size() != s.record.bytes.size() ||
      !integerIn(t[1], std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), steps))
    throw pyb::value_error(bad);
  s.requireUnused();
  PySet restored;
  std::memcpy(restored.record.bytes.data(), bytes.data(), bytes.size());
  loadRecordIntoSet(restored.record, restored.set);
  restored.set.Time = static_cast<std::int64_t>(steps);
  s.set = restored.set;
  s.record = restored.record;
}

bool equal(const PySet& a, const PySet& b) {
  a.requireNotStepping();
  b.requireNotStepping();
  return a.set.Time == b.set.Time && a.snapshot().bytes == b.snapshot().bytes;
}

std::string describe(const PySet& s) {
  if (s.use.now() < 0) return "<zentrova.ParticleSet: being stepped>";
  int present = 0;
  for (int i = 1; i <= kMaxParticles; ++i) present += s.set.present(i);
  return "<zentrova.ParticleSet: " + std::to_string(present) + " present, step " + std::to_string(s.set.Time) +
         ", dt " + formatReal(s.set.Dt, '.') + ">";
}

}  // namespace

void bindParticleSet(pyb::module_& m) {
  pyb::class_<Params>(m, "Params", R"doc(dt and the force parameters of a set, A1 ... D3, as a mutable mapping
in the order of the file: dt A1 B1 A2 B2 C2 D2 A3 B3 C3 D3.

Reads and writes go straight into the set it belongs to::

    s.params["B1"]                # numpy.longdouble
    s.params["B1"] = "2.718"      # the nearest 80-bit value of the decimal
    s.params.update(B2=0.3, C2="0.671")
    dict(s.params)                # a detached copy

Names cannot be added or removed.
)doc")
      .def("__getitem__", [](const Params& p, pyb::handle name) { return toLongDouble(p.set().set.*fieldNamed(name)); },
           pyb::arg("name"))
      .def("__setitem__",
           [](const Params& p, pyb::handle name, pyb::handle v) {
             const auto field = fieldNamed(name);
             const Real value = finiteRealFrom(v, pyb::str(name).cast<std::string>());
             p.set().requireUnused();
             p.set().set.*field = value;
           },
           pyb::arg("name"), pyb::arg("value"))
      .def("__delitem__",
           [](const Params&, pyb::handle) -> void {
             throw pyb::type_error("the parameters of a set cannot be removed");
           })
      .def("__len__", [](const Params&) { return namedParameters().size(); })
      .def("__contains__",
           [](const Params&, pyb::handle name) {
             try {
               fieldNamed(name);
               return true;
             } catch (const pyb::key_error&) {
               return false;
             }
           })
      .def("__iter__", [](const Params&) {
        pyb::list names;
        for (const NamedParameter& n : namedParameters()) names.append(n.name);
        return pyb::iter(names);
      })
      .def("__repr__", [](const Params& p) { return pyb::repr(pyb::dict(pyb::cast(p).attr("items")())); })
      .def("_assign", [](const Params& p, const pyb::object& values) { setParams(p.set(), values); })
      // A copy or a pickle is a detached dict: the mapping lives in its set.
      .def("__reduce_ex__",
           [](pyb::object self, pyb::handle) {
             return pyb::make_tuple(pyb::module_::import("builtins").attr("dict"),
                                    pyb::make_tuple(pyb::list(self.attr("items")())));
           },
           pyb::arg("protocol"));

  pyb::class_<PySet>(m, "ParticleSet", R"doc(A set of 60 particles, numbered 1 to 60 (row i - 1 of every array).

Particles 1-20 form group PE (parameters A1, B1), 21-40 group PES1
(A2, B2, C2, D2) and 41-60 group PES2 (A3, B3, C3, D3).

ParticleSet() is an empty set: every particle absent, every value 0.
zentrova.load(path) reads one from a .lis1 file.

The arrays are views into the set, not copies: writing into them changes
the set, and they follow it as it steps. Use .copy() on an array to keep
a snapshot. While another thread steps the set, leave them alone: what
goes through the set itself (assignments, save, pickle) is refused with
RuntimeError then, but writes into a view cannot be.

Sets copy (copy.copy, copy.deepcopy, .copy()), pickle and compare (==)
by every byte of their record and their step counter.
)doc")
      .def(pyb::init<>())
      .def("save",
           [](PySet& s, pyb::handle path) {
             const std::string p = pathFrom(path, "save");
             SetUse use(s, false);
             pyb::gil_scoped_release unlocked;
             s.save(p);
           },
           pyb::arg("path"),
           R"doc(save(self, path)
--

Writes the set to a .lis1 file: exactly 3784 bytes, all or nothing.
A path ending in .xyz or .extxyz gets one extended XYZ frame instead
(as write_xyz writes it); .csv raises ValueError.

The file is written beside the target and renamed over it once it is
on disk, so a failed save leaves the previous file as it was. Padding
bytes are those of the file the set was loaded from (zeros for a set
made here); presence bytes are written as they are held.
Raises zentrova.FileError (an OSError) with the program's message.)doc")
      .def("copy",
           [](const PySet& s) {
             s.requireNotStepping();
             return PySet(s);
           },
           "copy(self)\n--\n\nAn independent copy of the set.")
      .def("__copy__", [](const PySet& s) {
        s.requireNotStepping();
        return PySet(s);
      })
      .def("__deepcopy__",
           [](const PySet& s, pyb::handle) {
             s.requireNotStepping();
             return PySet(s);
           },
           pyb::arg("memo"))
      // Every pickle protocol, 0 and 1 included, rebuilds through
      // __setstate__, which the Python part defines: pybind11 would take a
      // method of that name for a constructor.
      .def("__getstate__", &pickleState)
      .def("_restore_state", &restoreState, pyb::arg("state"))
      .def("__reduce_ex__",
           [](pyb::object self, pyb::handle) {
             return pyb::make_tuple(pyb::type::handle_of(self), pyb::tuple(), pickleState(self.cast<const PySet&>()));
           },
           pyb::arg("protocol"))
      .def("__len__", [](const PySet& s) {
        int present = 0;
        for (int i = 1; i <= kMaxParticles; ++i) present += s.set.present(i);
        return present;
      })
      .def("__eq__", [](const PySet& a, const PySet& b) { return equal(a, b); }, pyb::is_operator())
      .def("__ne__", [](const PySet& a, const PySet& b) { return !equal(a, b); }, pyb::is_operator())
      .def_property("positions", &positionsOf,
                    [](pyb::object self, pyb::handle v) { assignArray(self, positionsOf(self), v, "positions", false); },
                    R"doc(x, y, z of every particle: a (60, 3) numpy.longdouble view, bit for bit
the 80-bit reals of the file. Assigning takes a (60, 3) array of reals.)doc")
      .def_property("velocities", &velocitiesOf,
                    [](pyb::object self, pyb::handle v) { assignArray(self, velocitiesOf(self), v, "velocities", false); },
                    "u(x), u(y), u(z) of every particle: a (60, 3) numpy.longdouble view.")
      .def_property("present", &presentOf,
                    [](pyb::object self, pyb::handle v) { assignArray(self, presentOf(self), v, "present", true); },
                    R"doc(The 60 presence bytes (numpy.uint8 view): 0 absent, anything else
present. Values other than 0 and 1 are kept and saved as they are.)doc")
      .def_property(
          "dt", [](const PySet& s) { return toLongDouble(s.set.Dt); },
          [](PySet& s, pyb::handle v) {
            const Real value = finiteRealFrom(v, "dt");
            s.requireUnused();
            s.set.Dt = value;
          },
          R"doc(The time step (numpy.longdouble). Assign a decimal string, such as
"0.01", for the nearest 80-bit value; a float gives the double's value.)doc")
      .def_property(
          "params", [](pyb::object self) { return Params{self}; }, &setParams,
          R"doc(dt and the force parameters A1 ... D3 (see Params). Assigning a
mapping sets the values it names and leaves the others.)doc")
      .def_property(
          "steps", [](const PySet& s) { return s.set.Time; },
          [](PySet& s, pyb::handle n) {
            long long v = 0;
            if (!integerIn(indexFrom(n), std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max(), v))
              throw std::overflow_error("steps is a 64-bit step counter: from -2**63 to 2**63 - 1");
            s.requireUnused();
            s.set.Time = static_cast<std::int64_t>(v);
          },
          "Steps taken since the set was loaded or made (64-bit).")
      .def("__repr__", &describe);

  m.def("load", [](pyb::handle path) { return PySet::load(pathFrom(path, "load")); }, pyb::arg("path"),
        R"doc(load(path)
--

Reads the first 3784-byte record of a .lis1 file into a new ParticleSet.
A path ending in .xyz or .extxyz is read as extended XYZ, its last
frame (ValueError if that lacks dt or a parameter: read_xyz takes them).

Every value is taken bit for bit, whatever it holds. A file shorter
than one record raises zentrova.FileError("Read beyond end of file");
a missing one FileNotFoundError (also a zentrova.FileError).)doc");
}

}  // namespace zentrova::py
