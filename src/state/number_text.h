#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "state/real.h"

namespace zentrova {

// General number text: at most 15 significant digits, trailing zeros dropped,
// fixed notation from 0.00001 up to 15 integer digits, otherwise scientific
// with "E" and a bare exponent (1E-6, 1.5E20). Never faults, whatever the bits.
std::string formatReal(Real value, char decimalSeparator);

// Reads an optional sign, digits with at most one separator, an optional
// exponent, with blanks around. Anything else throws ConvertError with
// "'%s' is not a valid floating point value".
Real parseReal(const std::string& text, char decimalSeparator);

// Reads an optional sign and decimal digits, with blanks around, in the range
// of a 32-bit integer; otherwise throws "'%s' is not a valid integer value".
std::int32_t parseInt(const std::string& text);

std::string invalidRealMessage(const std::string& text);
std::string invalidIntMessage(const std::string& text);

}  // namespace zentrova

namespace zentrova {

// Number text for other programs (CSV, JSON, XYZ): 21 significant digits, so
// that an 80-bit value reads back bit for bit, always with a full stop and no
// grouping, whatever the locale. The form is printf's "%.21Lg" in the C locale
// ("inf", "-inf", "nan" for non-finite values).
std::string machineReal(Real value);

// Reads machine text back: the exact inverse of machineReal ("nan", "inf" and
// denormals included) and the other forms C's strtold takes, whatever the
// locale. The whole text must be the number, without blanks; false if not.
bool readMachineReal(std::string_view text, Real& out);
// Reads an optional sign and decimal digits, the whole text, within the range
// of a 64-bit integer; false if not.
bool readMachineInt(std::string_view text, std::int64_t& out);

}  // namespace zentrova
