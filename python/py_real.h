#pragma once
#include <string>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "state/real.h"

namespace zentrova::py {

// numpy.longdouble is the 80-bit real in a 16-byte slot on x86-64 Linux, so
// values move by copying bytes: every bit pattern survives, NaNs included.
pybind11::object toLongDouble(Real value);

// A real from Python for the value named `what`: a decimal string is read as
// the simulator's --set reads it (blanks around allowed; a bad one is
// ValueError, one beyond the 80-bit range OverflowError); anything else
// numpy converts to longdouble (floats, ints, numpy scalars). None and
// non-numbers are TypeError.
Real realFrom(pybind11::handle value, const std::string& what);

// realFrom, refusing NaN and the infinities as the text "nan" is refused:
// ValueError. For dt and the parameters, which the simulator takes finite.
Real finiteRealFrom(pybind11::handle value, const std::string& what);

// A file system path from str, bytes or os.PathLike, as open() takes it:
// an embedded NUL is ValueError, anything else TypeError.
std::string pathFrom(pybind11::handle path, const std::string& what);

// An integer from anything with __index__ (numpy integers too), else TypeError.
pybind11::object indexFrom(pybind11::handle n);

// A Python int from lo to hi into `out`; false when it lies beyond them.
bool integerIn(pybind11::handle n, long long lo, long long hi, long long& out);

}  // namespace zentrova::py
