#include "py_xyz.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <pybind11/stl.h>

#include "files/file_formats.h"
#include "files/file_io.h"
#include "files/io_error.h"
#include "files/xyz.h"
#include "py_real.h"
#include "py_set.h"
#include "state/errors.h"
#include "state/named_parameters.h"

namespace zentrova::py {

namespace pyb = pybind11;

namespace {

const FileFormat& xyzFormat() { return *formatNamed("xyz"); }

// Appends a whole frame or nothing: a failed write cuts a regular file back
// to its old length, so the trajectory never ends in half a frame.
void appendText(const std::string& path, const std::string& text) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) throwIo(errno);
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  int error = 0;
  for (std::size_t done = 0; done < text.size() && !error;) {
    const ssize_t w = ::write(fd, text.data() + done, text.size() - done);
    if (w > 0) done += std::size_t(w);
    else if (w < 0 && errno != EINTR) error = errno;
    else if (w == 0) error = EIO;
  }
  if (error && regular && ::ftruncate(fd, st.st_size) != 0) {
    // the write's own error is the one reported
  }
  if (::close(fd) != 0 && errno != EINTR && !error) error = errno;
  if (error) throwIo(error);
}

void writeXyz(pyb::handle target, PySet& s, bool append, bool taoscope) {
  const bool isPath = pyb::isinstance<pyb::str>(target) || pyb::isinstance<pyb::bytes>(target) ||
                      pyb::hasattr(target, "__fspath__");
  if (!isPath && !pyb::hasattr(target, "write"))
    throw pyb::type_error("write_xyz writes to a path or a text file, not " +
                          pyb::str(pyb::type::handle_of(target).attr("__name__")).cast<std::string>());
  if (!isPath) {
    std::string text;
    {
      SetUse use(s, false);
      text = xyzFormat().frame(s.set, s.set.Time, taoscope);
    }
    target.attr("write")(pyb::str(text));
    return;
  }
  const std::string path = pathFrom(target, "write_xyz");
  SetUse use(s, false);
  pyb::gil_scoped_release unlocked;
  const std::string text = xyzFormat().frame(s.set, s.set.Time, taoscope);
  try {
    if (append)
      appendText(path, text);
    else
      writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  } catch (const IoError& e) {
    throw FileFailure{e.what(), path, e.error};
  }
}

// dt and parameters given as keyword arguments, all checked before use.
struct Given {
  std::vector<std::string> names;
  std::vector<std::pair<Real ParticleSet::*, Real>> values;
};

Given givenValues(const pyb::kwargs& params) {
  Given g;
  for (const auto& [key, value] : params) {
    const std::string name = pyb::str(key).cast<std::string>();
    const NamedParameter* p = parameterNamed(name);
    if (!p) throw pyb::type_error("read_xyz() got an unexpected keyword argument '" + name + "' (one of dt, A1 ... D3)");
    g.names.push_back(name);
    g.values.emplace_back(p->field, finiteRealFrom(value, name));
  }
  return g;
}

// The text of a path or of a file the caller opened, and the name its
// errors are given with.
std::string sourceText(pyb::handle source, std::string& name, std::optional<std::string>& path) {
  const bool isPath = pyb::isinstance<pyb::str>(source) || pyb::isinstance<pyb::bytes>(source) ||
                      pyb::hasattr(source, "__fspath__");
  if (isPath) {
    path = pathFrom(source, "read_xyz");
    name = pyb::module_::import("os").attr("fsdecode")(pyb::bytes(*path)).cast<std::string>();
    pyb::gil_scoped_release unlocked;
    try {
      return readXyzText(*path);
    } catch (const IoError& e) {
      throw FileFailure{e.what(), *path, e.error};
    } catch (const AppError& e) {
      throw pyb::value_error(name + ": " + e.what());
    }
  }
  if (!pyb::hasattr(source, "read"))
    throw pyb::type_error("read_xyz reads a path or an open file, not " +
                          pyb::str(pyb::type::handle_of(source).attr("__name__")).cast<std::string>());
  name = pyb::str(pyb::getattr(source, "name", pyb::str("<file>"))).cast<std::string>();
  const pyb::object text = source.attr("read")();
  if (pyb::isinstance<pyb::bytes>(text)) return text.cast<std::string>();
  if (pyb::isinstance<pyb::str>(text)) return text.cast<std::string>();
  throw pyb::type_error("read_xyz: the file's read() gave neither str nor bytes");
}

constexpr const char* kHowToGive = "give each as a keyword argument, such as dt=0.01";

PySet setOf(const XyzFrame& frame, const Given& given) {
  PySet s;
  try {
    applyXyzFrame(frame, s.set, given.names);
  } catch (const XyzMissingValues& e) {
    throw AppError(std::string(e.what()) + "; " + kHowToGive);
  }
  for (const auto& [field, value] : given.values) s.set.*field = value;
  return s;
}

pyb::object readXyz(pyb::handle source, pyb::handle indexArg, const pyb::kwargs& params) {
  const Given given = givenValues(params);
  const bool all = pyb::isinstance<pyb::str>(indexArg) && indexArg.cast<std::string>() == ":";
  long long index = 0;
  const bool inRange = all || integerIn(indexFrom(indexArg), -LLONG_MAX, LLONG_MAX, index);
  std::string name;
  std::optional<std::string> path;
  const std::string text = sourceText(source, name, path);
  std::vector<PySet> sets;
  long long count = 0;
  std::optional<std::string> malformed;
  {
    pyb::gil_scoped_release unlocked;
    try {
      // Each frame is parsed once; a frame counted from the start ends the
      // reading there, one counted from the end keeps the last few.
      std::deque<XyzFrame> kept;
      XyzFrame frame;
      std::size_t pos = 0, line = 0;
      while (inRange && readXyzFrame(text, pos, line, frame)) {
        ++count;
        if (all) {
          sets.push_back(setOf(frame, given));
        } else if (index >= 0) {
          if (count == index + 1) {
            sets.push_back(setOf(frame, given));
            break;
          }
        } else {
          kept.push_back(std::move(frame));
          if (static_cast<long long>(kept.size()) > -index) kept.pop_front();
        }
      }
      if (!all && index < 0 && static_cast<long long>(kept.size()) == -index) sets.push_back(setOf(kept.front(), given));
    } catch (const AppError& e) {
      malformed = name + ": " + e.what();
    }
  }
  if (malformed) throw pyb::value_error(*malformed);
  if (all) return pyb::cast(std::move(sets));
  if (sets.empty())
    throw pyb::index_error("frame " + pyb::str(indexArg).cast<std::string>() + " is out of range: " + name +
                           " holds " + std::to_string(count) + (count == 1 ? " frame" : " frames"));
  return pyb::cast(std::move(sets.front()));
}

}  // namespace

void bindXyz(pyb::module_& m) {
  // The species and group name of particles 1 to 60, for to_ase.
  m.def("_xyz_groups", [] {
    pyb::list kinds;
    for (int i = 1; i <= kMaxParticles; ++i) {
      const Group g = groupOf(i, kMaxParticles);
      kinds.append(pyb::make_tuple(xyzSpecies(g), groupName(g)));
    }
    return kinds;
  });
  m.def("write_xyz", &writeXyz, pyb::arg("path_or_file"), pyb::arg("s"), pyb::arg("append") = false,
        pyb::kw_only(), pyb::arg("taoscope") = false,
        R"doc(write_xyz(path_or_file, s, append=False, *, taoscope=False)
--

Writes s as one frame of extended XYZ, the same text as zentrova-sim
run --xyz: the present particles with their positions, velocities,
numbers and groups; the step counter, time, dt and the parameters on
the comment line; taoscope names the mode there. ASE, OVITO and
MDAnalysis read it; read_xyz reads every value back bit for bit.

With a path, append=False replaces the file all or nothing (written
beside it and renamed over it), append=True adds the frame at its end
(a failed write leaves the file as it was). A text file opened by the
caller gets the frame at its position; append is not used then.
Raises zentrova.FileError (an OSError) with the program's message.)doc");

  m.def("read_xyz", &readXyz, pyb::arg("path_or_file"), pyb::arg("index") = -1,
        R"doc(read_xyz(path_or_file, index=-1, **params)
--

Frame `index` of an extended XYZ file (a path or a file the caller
opened) as a new ParticleSet, counted as Python counts (-1, the
default, is the last frame); index=":" gives every frame as a list,
reading the file once. Each line's id column names its particle (lines
without ids fill 1, 2, ... in order). Velocities come from a velo
column, else from momenta divided by the masses column, else divided
by the standard mass of the species symbol, as ASE takes it.

dt, the parameters and the step counter come from the comment line;
keyword arguments (dt=0.01, B2="0.3") give or replace dt and
parameters. A frame that lacks one that no keyword gives raises
ValueError naming what is missing.

Frames up to the one asked for are read and checked: a malformed one
(a non-finite number, a group that is not its particle's, a control
byte) raises ValueError naming its line, an index beyond the frames
IndexError, a missing file FileNotFoundError (a zentrova.FileError).)doc");
}

}  // namespace zentrova::py
