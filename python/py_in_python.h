#pragma once
#include <pybind11/pybind11.h>

namespace zentrova::py {

// The parts of the module written in Python: FileError and its OSError
// kinds, the mapping methods of Params, run, and ParticleSet._repr_png_.
// Needs Params, ParticleSet, step, observe and render bound first.
void addPythonPart(pybind11::module_& m);

// Raises the FileError of a failed file step; path, in the file system's
// encoding, is null where the step concerned no path of the caller's.
void setFileError(const std::string& message, const std::string* path, int error);

}  // namespace zentrova::py
