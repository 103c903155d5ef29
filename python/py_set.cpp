#include "py_set.h"

#include <array>
#include <cstring>
#include <utility>

#include <pybind11/numpy.h>
#include <pybind11/stl/filesystem.h>

#include "files/set_file.h"
#include "py_real.h"

namespace zentrova::py {

namespace pyb = pybind11;

PySet::PySet() { set.Count = kMaxParticles; }

PySet PySet::load(const std::string& path) {
  PySet s;
  readSetFile(path, s.record);
  loadRecordIntoSet(s.record, s.set);
  return s;
}

void PySet::save(const std::string& path) { saveSet(set, record, path); }

void PySet::alignStepBuffers() {
  ParticleSet& s = set;
  const std::pair<RealSlots*, const RealSlots*> copies[] = {
      {&s.X1, &s.X},    {&s.Y1, &s.Y},    {&s.Z1, &s.Z},    {&s.Ux1, &s.Ux},    {&s.Uy1, &s.Uy},
      {&s.Uz1, &s.Uz},  {&s.DrawX, &s.X}, {&s.DrawY, &s.Y}, {&s.DrawZ, &s.Z},
  };
  // Bytes, not values: any bit pattern Python stored stays as it is.
  for (const auto& [to, from] : copies) std::memcpy(to->data(), from->data(), sizeof(RealSlots));
}

namespace {

constexpr const char* kParamNames[] = {"A1", "B1", "A2", "B2", "C2", "D2", "A3", "B3", "C3", "D3"};

pyb::list paramNames() {
  pyb::list names;
  for (const char* k : kParamNames) names.append(k);
  return names;
}

Real* parameter(ParticleSet& s, const std::string& name) {
  Real* slots[] = {&s.A1, &s.B1, &s.A2, &s.B2, &s.C2, &s.D2, &s.A3, &s.B3, &s.C3, &s.D3};
  for (int p = 0; p < 10; ++p)
    if (name == kParamNames[p]) return slots[p];
  throw pyb::key_error(name);
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

// Assigning a whole array goes through numpy, which checks the shape and
// converts the values; the view then holds them.
void assignInto(pyb::array view, pyb::handle value) { view[pyb::ellipsis()] = value; }

// The ten parameters as a mapping bound to its set: reads and writes go
// straight to the set.
struct Params {
  pyb::object owner;
  ParticleSet& set() const { return owner.cast<PySet&>().set; }
};

void setParams(PySet& s, pyb::handle values) {
  if (pyb::isinstance<Params>(values)) values = pyb::dict(values.attr("items")());
  if (!pyb::isinstance<pyb::dict>(values))
    throw pyb::type_error("params takes a mapping of parameter names (A1 ... D3) to reals");
  // Every name and value is checked before anything changes.
  std::vector<std::pair<Real*, Real>> updates;
  for (auto item : values.cast<pyb::dict>())
    updates.emplace_back(parameter(s.set, item.first.cast<std::string>()),
                         fromLongDouble(item.second, "a parameter"));
  for (auto& [slot, value] : updates) *slot = value;
}

}  // namespace

void bindParticleSet(pyb::module_& m) {
  pyb::class_<Params>(m, "Params", R"doc(The force parameters of a set, A1 ... D3, as a mapping.

Reads and writes go straight into the set it belongs to::

    s.params["B1"]                # numpy.longdouble
    s.params["B1"] = "2.718"      # the nearest 80-bit value of the decimal
    dict(s.params)                # a detached copy
)doc")
      .def("__getitem__",
           [](const Params& p, const std::string& name) { return toLongDouble(*parameter(p.set(), name)); },
           pyb::arg("name"))
      .def("__setitem__",
           [](const Params& p, const std::string& name, pyb::handle v) {
             Real* slot = parameter(p.set(), name);
             *slot = fromLongDouble(v, name.c_str());
           },
           pyb::arg("name"), pyb::arg("value"))
      .def("__len__", [](const Params&) { return 10; })
      .def("__contains__",
           [](const Params&, pyb::handle name) {
             if (!pyb::isinstance<pyb::str>(name)) return false;
             const auto n = name.cast<std::string>();
             for (const char* k : kParamNames)
               if (n == k) return true;
             return false;
           })
      .def("__iter__", [](const Params&) { return pyb::iter(paramNames()); })
      .def("keys", [](const Params&) { return paramNames(); }, "The ten names, A1 B1 A2 B2 C2 D2 A3 B3 C3 D3.")
      .def("items", [](const Params& p) {
        pyb::list out;
        for (const char* k : kParamNames) out.append(pyb::make_tuple(k, toLongDouble(*parameter(p.set(), k))));
        return out;
      }, "(name, value) pairs in record order.")
      .def("__repr__", [](const Params& p) { return pyb::str(pyb::dict(pyb::cast(p).attr("items")())).cast<std::string>(); });

  pyb::class_<PySet>(m, "ParticleSet", R"doc(A set of 60 particles, numbered 1 to 60 (row i - 1 of every array).

Particles 1-20 form group PE (parameters A1, B1), 21-40 group PES1
(A2, B2, C2, D2) and 41-60 group PES2 (A3, B3, C3, D3).

ParticleSet() is an empty set: every particle absent, every value 0.
zentrova.load(path) reads one from a .lis1 file.

The arrays are views into the set, not copies: writing into them changes
the set, and they follow it as it steps. Use .copy() on an array to keep
a snapshot.
)doc")
      .def(pyb::init<>())
      .def("save", [](PySet& s, const std::filesystem::path& path) { s.save(path.string()); }, pyb::arg("path"),
           R"doc(Writes the set to a .lis1 file: exactly 3784 bytes, all or nothing.

The file is written beside the target and renamed over it once it is
on disk, so a failed save leaves the previous file as it was. Padding
bytes are those of the file the set was loaded from (zeros for a set
made here); presence bytes are written as they are held.
Raises zentrova.FileError (an OSError) with the program's message.)doc")
      .def("copy", [](const PySet& s) { return PySet(s); }, "An independent copy of the set.")
      .def("__copy__", [](const PySet& s) { return PySet(s); })
      .def("__deepcopy__", [](const PySet& s, pyb::handle) { return PySet(s); }, pyb::arg("memo"))
      .def_property("positions", &positionsOf,
                    [](pyb::object self, pyb::handle v) { assignInto(positionsOf(self), v); },
                    R"doc(x, y, z of every particle: a (60, 3) numpy.longdouble view, bit for bit
the 80-bit reals of the file.)doc")
      .def_property("velocities", &velocitiesOf,
                    [](pyb::object self, pyb::handle v) { assignInto(velocitiesOf(self), v); },
                    "u(x), u(y), u(z) of every particle: a (60, 3) numpy.longdouble view.")
      .def_property("present", &presentOf,
                    [](pyb::object self, pyb::handle v) { assignInto(presentOf(self), v); },
                    R"doc(The 60 presence bytes (numpy.uint8 view): 0 absent, anything else
present. Values other than 0 and 1 are kept and saved as they are.)doc")
      .def_property(
          "dt", [](const PySet& s) { return toLongDouble(s.set.Dt); },
          [](PySet& s, pyb::handle v) { s.set.Dt = fromLongDouble(v, "dt"); },
          R"doc(The time step (numpy.longdouble). Assign a decimal string, such as
"0.01", for the nearest 80-bit value; a float gives the double's value.)doc")
      .def_property(
          "params", [](pyb::object self) { return Params{self}; }, &setParams,
          R"doc(The force parameters A1 ... D3 (see Params). Assigning a mapping
sets the parameters it names and leaves the others.)doc")
      .def_property(
          "steps", [](const PySet& s) { return s.set.Time; },
          [](PySet& s, std::int32_t n) { s.set.Time = n; },
          "Steps taken since the set was loaded or made (32-bit, wraps).")
      .def("__repr__", [](const PySet& s) {
        int present = 0;
        for (int i = 1; i <= kMaxParticles; ++i) present += s.set.present(i);
        return "<zentrova.ParticleSet: " + std::to_string(present) + " present, " + std::to_string(s.set.Time) +
               " steps>";
      });

  m.def("load", [](const std::filesystem::path& path) { return PySet::load(path.string()); }, pyb::arg("path"),
        R"doc(Reads the first 3784-byte record of a .lis1 file into a new ParticleSet.

Every value is taken bit for bit, whatever it holds. A file shorter
than one record raises zentrova.FileError("Read beyond end of file");
a missing one "File not found".)doc");
}

}  // namespace zentrova::py
