// zentrova-sim observe: the observables of a run, as CSV.
#include "analysis/observables.h"
#include "analysis/work_meter.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_output.h"
#include "sim_signals.h"
#include "state/particle_record.h"

namespace zentrova {

int cmdObserve(const ObserveOptions& o) {
  ParticleRecord record{};
  ParticleSet set;
  loadInputSet(o.in, record, set, settingNames(o.settings));
  applySettings(o.settings, set);
  reportNonFinite(o.in, set);
  set.Time = o.startStep;
  FastStepper stepper(o.threads);

  StreamOutput out = StreamOutput::standardOutput();
  std::int64_t lastRow = -1;
  WorkMeter work;
  work.start(set, o.controls);
  auto row = [&] {
    Observables m = observe(set, o.controls);
    m.work = work.work();
    if (out.write(observablesCsvRow(m) + "\n")) lastRow = set.Time;
  };
  int status = 0;
  if (out.write(std::string(observablesCsvHeader()) + "\n")) row();
  try {
    runStepsUntil(
        set, o.controls, o.steps, &stepper, [&] { return interruption() != 0 || out.error().has_value(); },
        [&](std::int64_t n) {
          work.afterStep(set, o.controls);
          if (n % o.every == 0) row();  // on the grid of the absolute step
        });
  } catch (const FpError& e) {
    reportFault(o.in, e);
    status = 1;
  }
  // The table ends with the last completed step.
  if (lastRow != set.Time) row();
  if (!out.finish()) return 2;
  if (const int sig = interruption()) return 128 + sig;
  return status;
}

}  // namespace zentrova
