#include <cmath>

#include "dynamics/bench_set.h"
#include "dynamics/literal_step.h"
#include "dynamics/step.h"

namespace zentrova {

namespace {

struct LibmPlain : fpops::Plain {
  static Real log(Real a) { return logl(a); }
  static Real exp(Real a) { return expl(a); }
};

struct LibmTrapping : fpops::Trapping {
  static Real log(Real a) {
    volatile Real va = a;
    return done(logl(va));
  }
  static Real exp(Real a) {
    volatile Real va = a;
    return done(expl(va));
  }
};

}  // namespace

void stepLibmBaseline(ParticleSet& set, const StepControls& c) { literal::stepT<LibmPlain, LibmTrapping>(set, c); }

}  // namespace zentrova
