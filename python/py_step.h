#pragma once
#include <pybind11/pybind11.h>

#include "dynamics/step.h"

namespace zentrova::py {

// The switches of forces and step, as Python names them.
ForceSwitches switches(bool taoscope, bool peOut, bool pes1Out, bool pes2Out);
StepControls stepControls(bool taoscope, bool cool, bool blockade, bool peOut, bool pes1Out, bool pes2Out);

// forces and step, computing without the interpreter lock.
void bindDynamics(pybind11::module_& m);

}  // namespace zentrova::py
