#pragma once
#include <pybind11/pybind11.h>

namespace zentrova::py {

// zentrova.rdf.
void bindRdf(pybind11::module_& m);

}  // namespace zentrova::py
