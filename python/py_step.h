#pragma once
#include <pybind11/pybind11.h>

namespace zentrova::py {

// forces and step, computing without the interpreter lock.
void bindDynamics(pybind11::module_& m);

}  // namespace zentrova::py
