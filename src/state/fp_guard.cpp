#include "state/fp_guard.h"

namespace zentrova {

void throwFpFault(int raised) {
  std::feclearexcept(FE_ALL_EXCEPT);
  if (raised & FE_INVALID) throw FpError(kMsgInvalid);
  if (raised & FE_DIVBYZERO) throw FpError(kMsgDivByZero);
  throw FpError(kMsgOverflow);
}

}  // namespace zentrova
