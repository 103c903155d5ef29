#include "py_xyz.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <pybind11/stl/filesystem.h>

#include "files/file_io.h"
#include "files/io_error.h"
#include "files/xyz.h"
#include "py_real.h"
#include "py_set.h"
#include "state/errors.h"

namespace zentrova::py {

namespace pyb = pybind11;

namespace {

// As zentrova-sim convert reads a trajectory.
constexpr std::size_t kMaxTrajectoryBytes = std::size_t(1) << 32;

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
      text = formatXyzFrame(s.set, s.set.Time, taoscope);
    }
    target.attr("write")(pyb::str(text));
    return;
  }
  const std::string path = target.cast<std::filesystem::path>().string();
  SetUse use(s, false);
  pyb::gil_scoped_release unlocked;
  const std::string text = formatXyzFrame(s.set, s.set.Time, taoscope);
  try {
    if (append)
      appendText(path, text);
    else
      writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  } catch (const IoError& e) {
    throw FileFailure{e.what(), path, e.error};
  }
}

// The frame `index` (from the end where negative) of a trajectory, all of
// whose frames are read and checked; `count` is how many it holds.
std::optional<XyzFrame> pickFrame(std::string_view text, long long index, long long& count) {
  std::deque<XyzFrame> last;  // a negative index keeps the last -index frames
  std::optional<XyzFrame> picked;
  XyzFrame frame;
  std::size_t pos = 0, line = 0;
  for (count = 0; readXyzFrame(text, pos, line, frame); ++count) {
    if (index >= 0) {
      if (count == index) picked = std::move(frame);
    } else {
      last.push_back(std::move(frame));
      if (static_cast<long long>(last.size()) > -index) last.pop_front();
    }
  }
  if (index < 0 && static_cast<long long>(last.size()) == -index) picked = std::move(last.front());
  return picked;
}

PySet readXyz(const std::filesystem::path& file, pyb::handle indexArg) {
  long long index = 0;
  const bool inRange = integerIn(indexArg, -LLONG_MAX, LLONG_MAX, index);
  const std::string path = file.string();
  PySet s;
  long long count = 0;
  std::optional<std::string> malformed;
  std::optional<XyzFrame> frame;
  {
    pyb::gil_scoped_release unlocked;
    std::vector<std::uint8_t> bytes;
    try {
      InFile in;
      in.open(path);
      bytes = in.readAll(kMaxTrajectoryBytes);
      in.close();
    } catch (const IoError& e) {
      throw FileFailure{e.what(), path, e.error};
    }
    try {
      if (bytes.size() >= kMaxTrajectoryBytes) throw AppError("a trajectory of 4 GiB or more is not read");
      frame = pickFrame({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, inRange ? index : 0, count);
      if (inRange && frame) applyXyzFrame(*frame, s.set);
    } catch (const AppError& e) {
      malformed = path + ": " + e.what();
    }
  }
  if (malformed) throw pyb::value_error(*malformed);
  if (!inRange || !frame)
    throw pyb::index_error("frame " + pyb::str(indexArg).cast<std::string>() + " is out of range: " + path +
                           " holds " + std::to_string(count) + (count == 1 ? " frame" : " frames"));
  return s;
}

}  // namespace

void bindXyz(pyb::module_& m) {
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

  m.def("read_xyz", &readXyz, pyb::arg("path"), pyb::arg("index") = -1,
        R"doc(read_xyz(path, index=-1)
--

Frame `index` of an extended XYZ file as a new ParticleSet, counted as
Python counts (-1, the default, is the last frame). Each line's id
column names its particle (lines without ids fill 1, 2, ... in order);
dt, the parameters and the step counter come from the comment line
where it has them; the rest is 0.

Every frame is read and checked: a malformed one raises ValueError
naming its line, an index beyond the frames IndexError, a missing file
FileNotFoundError (also a zentrova.FileError).)doc");
}

}  // namespace zentrova::py
