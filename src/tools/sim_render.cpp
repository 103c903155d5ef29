// The simulator's render command: the window's picture of a set, fitted, with
// optional trails of a run, written as a PNG file without a window.
#include "sim_render.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <optional>
#include <string>

#include "dynamics/step.h"
#include "image_canvas.h"
#include "png_file.h"
#include "sim_input.h"
#include "sim_output.h"
#include "dynamics/thread_count.h"
#include <stdexcept>
#include "state/errors.h"
#include "state/number_text.h"
#include "state/particle_record.h"
#include "view/fit.h"
#include "view/trails.h"
#include "view/transform.h"

using namespace zentrova;

namespace {

constexpr int kExitFault = 1;
constexpr int kExitInput = 2;
constexpr int kMinSide = 16, kMaxSide = 8192;
const char* kRenderUsage =
    "usage: zentrova-sim render IN.lis1 -o OUT.png [--size WxH] [--taoscope] [--numbers] [--trails STEPS]\n"
    "       [--threads T]\n";

struct RenderOptions {
  std::optional<std::string> in, out;
  int width = 640, height = 480;
  bool taoscope = false, numbers = false;
  int trailSteps = 0;
  std::optional<std::string> threads;
  int threadCount = 1;
};

struct BadArgument {
  std::string what;
};

void parseSize(const std::string& text, RenderOptions& o) {
  const auto x = text.find('x');
  if (x == std::string::npos) throw BadArgument{"--size needs WxH, not '" + text + "'"};
  const int w = parseInt(text.substr(0, x)), h = parseInt(text.substr(x + 1));
  if (w < kMinSide || h < kMinSide || w > kMaxSide || h > kMaxSide)
    throw BadArgument{"'" + text + "' is out of range"};
  o.width = w;
  o.height = h;
}

RenderOptions parse(int argc, char** argv) {
  RenderOptions o;
  for (int a = 2; a < argc; ++a) {
    const std::string arg = argv[a];
    auto value = [&]() -> std::string {
      if (a + 1 >= argc) throw BadArgument{arg + " needs a value"};
      return argv[++a];
    };
    if (arg == "-o") o.out = value();
    else if (arg == "--size") parseSize(value(), o);
    else if (arg == "--taoscope") o.taoscope = true;
    else if (arg == "--numbers") o.numbers = true;
    else if (arg == "--threads") o.threads = value();
    else if (arg == "--trails") {
      const std::string n = value();
      o.trailSteps = parseInt(n);
      if (o.trailSteps < 0) throw BadArgument{"'" + n + "' is out of range"};
    } else if (!arg.empty() && arg[0] != '-' && !o.in) o.in = arg;
    else throw BadArgument{"unexpected argument '" + arg + "'"};
  }
  if (!o.in) throw BadArgument{"no input file"};
  if (!o.out) throw BadArgument{"render needs -o OUT.png"};
  try {
    o.threadCount = o.threads ? parseThreadCount(*o.threads, "--threads") : defaultStepThreads();
  } catch (const std::invalid_argument& e) {
    throw BadArgument{e.what()};
  }
  return o;
}

int render(const RenderOptions& o) {
  ParticleRecord record;
  ParticleSet set;
  loadInputSet(*o.in, record, set);
  refuseSameFile({{"the input", *o.in}, {"-o", *o.out}});
  checkOutput(*o.out);

  int status = 0;
  Trails trails;
  if (o.trailSteps > 0) {
    StepControls controls;
    controls.forces.taoscope = o.taoscope;
    FastStepper stepper(o.threadCount);
    trails.record(set);
    try {
      for (int n = 0; n < o.trailSteps; ++n) {
        stepper.step(set, controls);
        trails.record(set);
      }
    } catch (const FpError& e) {
      // The picture still shows the run up to its last whole step.
      reportFault(*o.in, e);
      status = kExitFault;
    }
  }

  ViewState view;
  initView(view, o.width, o.height);
  initViewSteps(view);
  view.ShowNumbers = o.numbers;
  QImage image(o.width, o.height, QImage::Format_RGB32);
  image.fill(Qt::black);
  // The window's face for the numbers.
  QImageCanvas canvas(image, o.width, o.height, QFont(QStringLiteral("DejaVu Sans"), 8));
  const Scene scene{canvas, view, set, o.taoscope, o.trailSteps > 0 ? &trails : nullptr};
  FitToView(scene, 0, scene.trails);
  try {
    writePngFile(image, *o.out);
  } catch (const IoError& e) {
    failFor(*o.out, e);
  }
  return status;
}

}  // namespace

int simRender(int argc, char** argv) {
  RenderOptions o;
  try {
    o = parse(argc, argv);
  } catch (const BadArgument& e) {
    std::fprintf(stderr, "zentrova-sim: %s\n%s", e.what.c_str(), kRenderUsage);
    return kExitInput;
  } catch (const AppError& e) {
    std::fprintf(stderr, "zentrova-sim: %s\n%s", e.what(), kRenderUsage);
    return kExitInput;
  }
  // Text needs a GUI application; the offscreen platform needs no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  try {
    return render(o);
  } catch (const FpError& e) {
    reportFault(*o.in, e);
    return kExitFault;
  } catch (const AppError& e) {
    std::fprintf(stderr, "zentrova-sim: %s\n", e.what());
    return kExitInput;
  }
}
