#pragma once
#include <pybind11/pybind11.h>

namespace zentrova::py {

// write_xyz and read_xyz: trajectories in the simulator's extended XYZ.
void bindXyz(pybind11::module_& m);

}  // namespace zentrova::py
