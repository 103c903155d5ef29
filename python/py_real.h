#pragma once
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "state/real.h"

namespace zentrova::py {

// numpy.longdouble is the 80-bit real in a 16-byte slot on x86-64 Linux, so
// values move by copying bytes: every bit pattern survives, NaNs included.
pybind11::object toLongDouble(Real value);

// Any real numpy can convert to longdouble: floats, ints, numpy scalars and
// decimal strings (which give the nearest 80-bit value, unlike a float).
Real fromLongDouble(pybind11::handle value, const char* what);

}  // namespace zentrova::py
