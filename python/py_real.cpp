#include "py_real.h"

#include <cstring>
#include <string>

#include "state/extended.h"

namespace zentrova::py {

namespace pyb = pybind11;

pyb::object toLongDouble(Real value) {
  pyb::array_t<Real> a(std::vector<pyb::ssize_t>{});
  // The 10 bytes of the value; the slot's padding stays zero.
  std::memset(a.mutable_data(), 0, sizeof(Real));
  std::memcpy(a.mutable_data(), &value, kExtendedBytes);
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
