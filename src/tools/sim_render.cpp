// The simulator's render command: the window's picture of a set, fitted, with
// optional trails of a run, written as a PNG file without a window.
#include "sim_render.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "dynamics/step.h"
#include "png_file.h"
#include "qt_messages.h"
#include "set_picture.h"
#include "sim_input.h"
#include "sim_messages.h"
#include "sim_output.h"
#include "sim_params.h"
#include "state/errors.h"
#include "state/number_text.h"
#include "state/particle_record.h"
#include "view/trails.h"

using namespace zentrova;

namespace {

constexpr int kExitFault = 1;
constexpr int kExitInput = 2;

int render(const Options& o) {
  ParticleRecord record;
  ParticleSet set;
  loadInputSet(*o.in, record, set, allParameterNames());  // a picture needs neither dt nor parameters
  refuseSameFile({{"the input", *o.in}, {"-o", *o.out}});
  checkOutput(*o.out);

  int status = 0;
  Trails trails;
  if (o.trailSteps > 0) {
    StepControls controls;
    controls.forces.taoscope = o.controls.forces.taoscope;
    FastStepper stepper(o.threads);
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

  PictureOptions picture;
  picture.width = o.width;
  picture.height = o.height;
  picture.taoscope = o.controls.forces.taoscope;
  picture.numbers = o.numbers;
  const QImage image = drawSetPicture(set, picture, o.trailSteps > 0 ? &trails : nullptr);
  try {
    writePngFile(image, *o.out);
  } catch (const IoError& e) {
    failFor(*o.out, e);
  }
  return status;
}

}  // namespace

int simRender(const Options& o, char** argv) {
  // Text needs a GUI application; the offscreen platform needs no display.
  keepQtMessagesQuiet("zentrova-sim");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  try {
    return render(o);
  } catch (const FpError& e) {
    reportFault(*o.in, e);
    return kExitFault;
  } catch (const AppError& e) {
    simMessage(e.what());
    return kExitInput;
  }
}
