#include "state/number_text.h"

#include <cerrno>
#include <cfenv>
#include <charconv>
#include <clocale>
#include <locale.h>
#include <cctype>
#include <cmath>
#include <cstdint>
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

// 10^n, exact in the 80-bit real for 0 <= n <= 27.
// The one conversion from text to a real: strtold in the C locale, with the
// floating-point flags left as they were. False unless the whole text is the
// number; overflow tells a value beyond the extended range.
bool cReal(const std::string& text, Real& out, bool& overflow) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
  if (!cLocale) return false;
  std::fenv_t saved;
  std::feholdexcept(&saved);
  errno = 0;
  char* end = nullptr;
  out = strtold_l(text.c_str(), &end, cLocale);
  overflow = errno == ERANGE && std::isinf(out);
  std::fesetenv(&saved);
  return end == text.c_str() + text.size();
}

Real exactPowerOfTen(int n) {
  Real p = 1;
  for (int k = 0; k < n; ++k) p *= 10;
  return p;
}

// The 15 significant digits of |value|, correctly rounded, as the integer D
// (10^14 <= D < 10^15) and the decimal exponent of the first: the common
// case of the listing, without the general conversion. value * 10^n is one
// rounding away from exact, 2^-14 at most for a 15-digit integer part, so
// unless that part lies within 2^-12 of a half the rounding is certain.
// False where it cannot tell; the caller then converts the general way.
bool fifteenDigits(Real value, std::uint64_t& D, int& exponent) {
  const Real v = std::fabs(value);
  if (!(v >= 1e-13L && v < 1e19L)) return false;
  int k = int(std::floor(std::log10(double(v))));
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int n = 14 - k;
    if (n < -27 || n > 27) return false;
    const Real q = n >= 0 ? v * exactPowerOfTen(n) : v / exactPowerOfTen(-n);
    if (q < 1e14L) {
      --k;
      continue;
    }
    if (q >= 1e15L) {
      ++k;
      continue;
    }
    const Real whole = std::floor(q);
    const Real half = q - whole - 0.5L;
    if (std::fabs(half) < 0x1p-12L) return false;
    D = std::uint64_t(whole) + (half > 0);
    exponent = k;
    if (D == 1000000000000000u) D = 100000000000000u, ++exponent;
    return true;
  }
  return false;
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
  std::uint64_t fast;
  int fastExponent;
  if (fifteenDigits(value, fast, fastExponent)) {
    // The same form as the general conversion below.
    char* b = buf;
    if (std::signbit(value)) *b++ = '-';
    char d[15];
    for (int k = 14; k >= 0; --k) d[k] = char('0' + fast % 10), fast /= 10;
    *b++ = d[0];
    *b++ = '.';
    for (int k = 1; k < 15; ++k) *b++ = d[k];
    *b++ = 'e';
    *std::to_chars(b, buf + sizeof buf - 1, fastExponent).ptr = '\0';
  } else {
    *std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific, 14).ptr = '\0';
  }
  std::fesetenv(&saved);
  // The listing formats every value of every step, so this works in place.
  const char* p = buf;
  const bool negative = *p == '-';
  if (negative) ++p;
  char digits[15];  // the 15 significant digits
  int count = 0;
  for (; *p != 'e'; ++p)
    if (*p != '.' && count < 15) digits[count++] = *p;
  const int exponent = std::atoi(p + 1);
  int last = count;  // trailing zeros after the separator are dropped
  while (last > 1 && digits[last - 1] == '0') --last;

  char out[48];
  int n = 0;
  if (negative) out[n++] = '-';
  if (exponent >= -5 && exponent <= 14) {
    if (exponent < 0) {
      out[n++] = '0';
      out[n++] = decimalSeparator;
      for (int k = 0; k < -exponent - 1; ++k) out[n++] = '0';
      for (int k = 0; k < last; ++k) out[n++] = digits[k];
    } else {
      const int whole = exponent + 1;
      for (int k = 0; k < whole; ++k) out[n++] = digits[k];
      if (last > whole) {
        out[n++] = decimalSeparator;
        for (int k = whole; k < last; ++k) out[n++] = digits[k];
      }
    }
  } else {
    out[n++] = digits[0];
    if (last > 1) {
      out[n++] = decimalSeparator;
      for (int k = 1; k < last; ++k) out[n++] = digits[k];
    }
    out[n++] = 'E';
    n = int(std::to_chars(out + n, out + sizeof out, exponent).ptr - out);
  }
  return std::string(out, std::size_t(n));
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

  Real value = 0;
  bool overflow = false;
  // An exponent beyond the extended range does not convert; a value too
  // small for it reads as zero or a denormal.
  if (!cReal(canon, value, overflow) || overflow) throw ConvertError(invalidRealMessage(text));
  return value;
}

std::int32_t parseInt(const std::string& text) {
  std::int64_t v = 0;
  if (!readMachineInt(trimmed(text), v) || v > INT32_MAX || v < INT32_MIN)
    throw ConvertError(invalidIntMessage(text));
  return std::int32_t(v);
}

bool readMachineInt(std::string_view t, std::int64_t& out) {
  if (!t.empty() && t.front() == '+') {
    t.remove_prefix(1);
    if (!t.empty() && t.front() == '-') return false;
  }
  const auto r = std::from_chars(t.data(), t.data() + t.size(), out);
  return r.ec == std::errc() && r.ptr == t.data() + t.size();
}

bool readMachineReal(std::string_view text, Real& out) {
  const std::string s(text);
  if (s.empty() || std::isspace(static_cast<unsigned char>(s.front()))) return false;
  bool overflow = false;
  return cReal(s, out, overflow);
}

std::string machineReal(Real value) {
  // to_chars never reads the locale, unlike printf.
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 21);
  return std::string(buf, r.ptr);
}

}  // namespace zentrova
