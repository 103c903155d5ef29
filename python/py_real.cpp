#include "py_real.h"

#include <cstring>
#include <string>

namespace zentrova::py {

namespace pyb = pybind11;

pyb::object toLongDouble(Real value) {
  pyb::array_t<Real> a(std::vector<pyb::ssize_t>{});
  std::memcpy(a.mutable_data(), &value, sizeof value);
  return a[pyb::tuple()];
}

Real fromLongDouble(pyb::handle value, const char* what) {
  // numpy would turn None into NaN.
  if (value.is_none()) throw pyb::type_error(std::string(what) + " must be a real number, not None");
  auto a = pyb::array_t<Real, pyb::array::forcecast>::ensure(value);
  if (!a || a.ndim() != 0)
    throw pyb::type_error(std::string(what) + " must be a single real number");
  Real r;
  std::memcpy(&r, a.data(), sizeof r);
  return r;
}

}  // namespace zentrova::py
