#include "py_render.h"

#include <QGuiApplication>
#include <mutex>
#include <optional>
#include <utility>

#include <pybind11/stl.h>

#include "png_file.h"
#include "py_real.h"
#include "py_set.h"
#include "qt_messages.h"
#include "set_picture.h"
#include "state/errors.h"

namespace zentrova::py {

namespace pyb = pybind11;

namespace {

// The numbers' font needs a GUI application; a Python process has none unless
// it brought its own. Ours draws off screen and lives as long as the process;
// Qt's diagnostics (XDG_RUNTIME_DIR unset, as for root) stay off the user's
// standard error then. An application the user made keeps its own handler.
void ensureGuiApplication() {
  if (QCoreApplication::instance()) return;
  keepQtMessagesQuiet("zentrova");
  static int argc = 3;
  static char arg0[] = "zentrova", arg1[] = "-platform", arg2[] = "offscreen";
  static char* argv[] = {arg0, arg1, arg2, nullptr};
  new QGuiApplication(argc, argv);
}

// One drawing at a time: the fonts of the one application are shared.
std::mutex drawing;

pyb::object render(const PySet& s, pyb::handle pathArg, std::pair<int, int> size, bool taoscope, bool numbers) {
  std::optional<std::string> path;
  if (!pathArg.is_none()) path = pathFrom(pathArg, "render");
  const auto [width, height] = size;
  if (width < kMinPictureSide || height < kMinPictureSide || width > kMaxPictureSide || height > kMaxPictureSide)
    throw pyb::value_error("size takes a width and a height from " + std::to_string(kMinPictureSide) + " to " +
                           std::to_string(kMaxPictureSide) + " pixels, not (" + std::to_string(width) + ", " +
                           std::to_string(height) + ")");
  ensureGuiApplication();
  s.requireNotStepping();
  // Python writes only the live positions: they are what it sees drawn.
  const DrawingSnapshot shown = s.set.liveSnapshot();
  PictureOptions options;
  options.width = width;
  options.height = height;
  options.taoscope = taoscope;
  options.numbers = numbers;
  QByteArray png;
  {
    pyb::gil_scoped_release unlocked;
    const std::lock_guard<std::mutex> one(drawing);
    const QImage image = drawSetPicture(shown, options);
    if (!path) {
      png = pngBytes(image);
    } else {
      try {
        writePngFile(image, *path);
      } catch (const IoError& e) {
        throw FileFailure{e.what(), *path, e.error};
      }
    }
  }
  if (path) return pyb::none();
  return pyb::bytes(png.constData(), static_cast<std::size_t>(png.size()));
}

}  // namespace

void bindRender(pyb::module_& m) {
  m.def("render", &render, pyb::arg("s"), pyb::arg("path") = pyb::none(),
        pyb::arg("size") = std::make_pair(640, 480), pyb::arg("taoscope") = false, pyb::arg("numbers") = false,
        R"doc(render(s, path=None, size=(640, 480), taoscope=False, numbers=False)
--

Draws s as zentrova-sim render does: the window's picture on black, in
the default orientation, fitted to the image; taoscope picks that
mode's colours, numbers labels the points.

With a path, writes the PNG file (all or nothing) and returns None;
without one, returns the PNG file's bytes. size is (width, height),
16 to 8192 pixels a side.)doc");
}

}  // namespace zentrova::py
