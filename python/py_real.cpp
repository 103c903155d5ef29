#include "py_real.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "state/errors.h"
#include "state/extended.h"
#include "state/number_text.h"

namespace zentrova::py {

namespace pyb = pybind11;

namespace {

// Beyond this many bits an integer exceeds the largest 80-bit real.
constexpr long kMaxIntegerBits = 16384;

// The core's reader refuses a number beyond the range in the same words as
// a malformed one; Python tells the two apart: a text with digits that the
// float() reads as infinite is a number, only too large.
bool tooLarge(const std::string& text) {
  if (text.find_first_of("0123456789") == std::string::npos) return false;
  try {
    const double d = pyb::float_(pyb::str(text)).cast<double>();
    return std::isinf(d);
  } catch (const pyb::error_already_set&) {
    return false;
  }
}

Real realFromText(const std::string& text, const std::string& what) {
  try {
    return parseReal(text, '.');
  } catch (const ConvertError& e) {
    if (tooLarge(text)) throw std::overflow_error(what + ": '" + text + "' is beyond the range of an 80-bit real");
    throw pyb::value_error(what + ": " + e.what());
  }
}

}  // namespace

pyb::object toLongDouble(Real value) {
  pyb::array_t<Real> a(std::vector<pyb::ssize_t>{});
  // The 10 bytes of the value; the slot's padding stays zero.
  std::memset(a.mutable_data(), 0, sizeof(Real));
  std::memcpy(a.mutable_data(), &value, kExtendedBytes);
  return a[pyb::tuple()];
}

Real realFrom(pyb::handle value, const std::string& what) {
  // numpy would turn None into NaN.
  if (value.is_none()) throw pyb::type_error(what + " takes a real number, not None");
  if (pyb::isinstance<pyb::str>(value)) return realFromText(value.cast<std::string>(), what);
  if (PyLong_Check(value.ptr()) && value.attr("bit_length")().cast<long>() > kMaxIntegerBits)
    throw std::overflow_error(what + ": the integer is beyond the range of an 80-bit real");
  auto a = pyb::array_t<Real, pyb::array::forcecast>::ensure(value);
  if (!a || a.ndim() != 0) throw pyb::type_error(what + " takes a single real number");
  Real r;
  std::memcpy(&r, a.data(), sizeof r);
  return r;
}

Real finiteRealFrom(pyb::handle value, const std::string& what) {
  const Real r = realFrom(value, what);
  if (!std::isfinite(r)) throw pyb::value_error(what + ": " + invalidRealMessage(pyb::str(value).cast<std::string>()));
  return r;
}

std::string pathFrom(pyb::handle path, const std::string& what) {
  if (!pyb::isinstance<pyb::str>(path) && !pyb::isinstance<pyb::bytes>(path) && !pyb::hasattr(path, "__fspath__"))
    throw pyb::type_error(what + " takes a path (str, bytes or os.PathLike), not " +
                          pyb::str(pyb::type::handle_of(path).attr("__name__")).cast<std::string>());
  const pyb::module_ os = pyb::module_::import("os");
  const auto text = os.attr("fsencode")(os.attr("fspath")(path)).cast<std::string>();
  if (text.find('\0') != std::string::npos) throw pyb::value_error("embedded null byte");
  return text;
}

pyb::object indexFrom(pyb::handle n) {
  auto index = pyb::reinterpret_steal<pyb::object>(PyNumber_Index(n.ptr()));
  if (!index) throw pyb::error_already_set();
  return index;
}

bool integerIn(pyb::handle n, long long lo, long long hi, long long& out) {
  int beyond = 0;
  out = PyLong_AsLongLongAndOverflow(n.ptr(), &beyond);
  if (out == -1 && PyErr_Occurred()) throw pyb::error_already_set();
  return beyond == 0 && out >= lo && out <= hi;
}

}  // namespace zentrova::py
