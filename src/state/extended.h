#pragma once
#include <cstdint>

#include "state/real.h"

namespace zentrova {

inline constexpr int kExtendedBytes = 10;

// The 10-byte little-endian x87 form: bytes 0-7 the significand with its
// explicit integer bit, bytes 8-9 sign and 15-bit biased exponent. Any bit
// pattern survives a decode/encode round trip unchanged.
void encodeExtended(Real value, std::uint8_t* out);
Real decodeExtended(const std::uint8_t* in);

// What the bits of an extended real mean, decided from the bits alone so that
// classifying never raises a floating-point fault.
enum class ExtendedClass {
  Zero,
  Normal,
  Denormal,        // exponent 0, integer bit 0, significand not 0
  PseudoDenormal,  // exponent 0, integer bit 1: the processor reads it as normal
  Infinity,
  NaN,
  Unnormal,        // integer bit 0 with a non-zero exponent: an invalid operand
};
ExtendedClass classifyExtended(Real value);

}  // namespace zentrova
