#pragma once
#include <cfenv>

#include "state/errors.h"

namespace zentrova {

// The three floating-point faults the program reports; underflow and
// inexact results are silent.
inline constexpr int kFaultFlags = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;

inline void clearFpFaults() { std::feclearexcept(FE_ALL_EXCEPT); }

// Throws FpError for a raised fault flag. When several are raised at once the
// caller has checked too coarsely; invalid is reported before division by
// zero before overflow.
void throwFpFault(int raised);

inline void checkFpFaults() {
  const int raised = std::fetestexcept(kFaultFlags);
  if (raised) throwFpFault(raised);
}

// Clears the flags on entry and checks them when asked; used around a
// computation whose faults must surface as FpError.
class FpGuard {
 public:
  FpGuard() { clearFpFaults(); }
  void check() const { checkFpFaults(); }
};

// Leaves the floating-point flags on leaving as they were on entry: for
// conveniences (measuring, fitting) that must not show in a step's fault check.
class FpFlagsKept {
 public:
  FpFlagsKept() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
  ~FpFlagsKept() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
  FpFlagsKept(const FpFlagsKept&) = delete;
  FpFlagsKept& operator=(const FpFlagsKept&) = delete;

 private:
  std::fexcept_t saved_;
};

}  // namespace zentrova
