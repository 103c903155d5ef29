#pragma once
#include <pybind11/pybind11.h>

namespace zentrova::py {

// render: the simulator's picture of a set, as PNG bytes or a file.
void bindRender(pybind11::module_& m);

}  // namespace zentrova::py
