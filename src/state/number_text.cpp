#include "state/number_text.h"

#include <cerrno>
#include <cfenv>
#include <charconv>
#include <clocale>
#include <locale.h>
#include <cmath>
#include <cstdlib>

#include "state/errors.h"
#include "state/extended.h"

namespace zentrova {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

// Drops trailing zeros of the digits after the separator, and the separator
// itself when nothing is left behind it.
void dropTrailingZeros(std::string& digits) {
  const auto dot = digits.find('.');
  if (dot == std::string::npos) return;
  std::size_t end = digits.size();
  while (end > dot + 1 && digits[end - 1] == '0') --end;
  if (end == dot + 1) end = dot;
  digits.resize(end);
}

}  // namespace

std::string invalidRealMessage(const std::string& text) {
  return "'" + text + "' is not a valid floating point value";
}

std::string invalidIntMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

std::string formatReal(Real value, char decimalSeparator) {
  switch (classifyExtended(value)) {
    case ExtendedClass::Zero:
      return "0";
    case ExtendedClass::NaN:
    case ExtendedClass::Unnormal:
      return "NAN";
    case ExtendedClass::Infinity:
      return std::signbit(value) ? "-INF" : "INF";
    case ExtendedClass::PseudoDenormal: {
      // Same value as with exponent 1; rebuild it that way so the
      // conversion below sees an ordinary number.
      std::uint8_t b[kExtendedBytes];
      encodeExtended(value, b);
      b[8] = 1;
      value = decodeExtended(b);
      break;
    }
    default:
      break;
  }
  // Scientific form with 15 significant digits, correctly rounded: d.ddddddddddddddde±x
  const std::fenv_t saved = [] {
    std::fenv_t env;
    std::feholdexcept(&env);
    return env;
  }();
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::fesetenv(&saved);
  const std::string sci(buf, res.ptr);
  const auto ePos = sci.find('e');
  const int exponent = std::atoi(sci.c_str() + ePos + 1);
  const bool negative = sci[0] == '-';
  std::string mantissa = sci.substr(negative ? 1 : 0, ePos - (negative ? 1 : 0));
  std::string digits;  // the 15 significant digits
  for (char c : mantissa)
    if (c != '.') digits += c;

  std::string out = negative ? "-" : "";
  if (exponent >= -5 && exponent <= 14) {
    std::string fixed;
    if (exponent < 0) {
      fixed = "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    } else {
      fixed = digits.substr(0, std::size_t(exponent) + 1);
      fixed += "." + digits.substr(std::size_t(exponent) + 1);
    }
    dropTrailingZeros(fixed);
    out += fixed;
  } else {
    std::string m = digits.substr(0, 1) + "." + digits.substr(1);
    dropTrailingZeros(m);
    out += m + "E" + std::to_string(exponent);
  }
  for (char& c : out)
    if (c == '.') c = decimalSeparator;
  return out;
}

Real parseReal(const std::string& text, char decimalSeparator) {
  const std::string t = trimmed(text);
  std::string canon;
  std::size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) canon += t[i++];
  int mantissaDigits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') canon += t[i++], ++mantissaDigits;
  if (i < t.size() && t[i] == decimalSeparator) {
    canon += '.';
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') canon += t[i++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) throw ConvertError(invalidRealMessage(text));
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    canon += 'e';
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) canon += t[i++];
    int expDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') canon += t[i++], ++expDigits;
    if (expDigits == 0) throw ConvertError(invalidRealMessage(text));
  }
  if (i != t.size()) throw ConvertError(invalidRealMessage(text));

  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
  std::fenv_t saved;
  std::feholdexcept(&saved);
  errno = 0;
  char* end = nullptr;
  const Real value = strtold_l(canon.c_str(), &end, cLocale);
  const bool overflow = errno == ERANGE && std::isinf(value);
  std::fesetenv(&saved);
  // An exponent beyond the extended range does not convert; a value too
  // small for it reads as zero or a denormal.
  if (overflow || end != canon.c_str() + canon.size()) throw ConvertError(invalidRealMessage(text));
  return value;
}

std::int32_t parseInt(const std::string& text) {
  const std::string t = trimmed(text);
  std::size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  if (i == t.size()) throw ConvertError(invalidIntMessage(text));
  std::int64_t v = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') throw ConvertError(invalidIntMessage(text));
    v = v * 10 + (t[i] - '0');
    if (v > std::int64_t(1) << 31) throw ConvertError(invalidIntMessage(text));
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) throw ConvertError(invalidIntMessage(text));
  return std::int32_t(v);
}

}  // namespace zentrova
