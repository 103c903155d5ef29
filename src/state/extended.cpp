#include "state/extended.h"

#include <cstring>

namespace zentrova {

void encodeExtended(Real value, std::uint8_t* out) {
  std::memcpy(out, &value, kExtendedBytes);
}

Real decodeExtended(const std::uint8_t* in) {
  Real value = 0;  // zero the six bytes of alignment padding
  std::memcpy(&value, in, kExtendedBytes);
  return value;
}

ExtendedClass classifyExtended(Real value) {
  std::uint8_t b[kExtendedBytes];
  encodeExtended(value, b);
  std::uint64_t significand = 0;
  std::memcpy(&significand, b, 8);
  const unsigned exponent = (unsigned(b[9] & 0x7f) << 8) | b[8];
  const bool integerBit = (significand >> 63) != 0;
  const std::uint64_t fraction = significand & ~(std::uint64_t(1) << 63);
  if (exponent == 0) {
    if (significand == 0) return ExtendedClass::Zero;
    return integerBit ? ExtendedClass::PseudoDenormal : ExtendedClass::Denormal;
  }
  if (!integerBit) return ExtendedClass::Unnormal;  // includes pseudo-NaN and pseudo-infinity
  if (exponent == 0x7fff) return fraction == 0 ? ExtendedClass::Infinity : ExtendedClass::NaN;
  return ExtendedClass::Normal;
}

}  // namespace zentrova
