#include "files/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace zentrova {

namespace {

bool validUtf8(const std::string& s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    int extra;
    unsigned least;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1, least = 0x80;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2, least = 0x800;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3, least = 0x10000;
    } else {
      return false;
    }
    if (i + std::size_t(extra) >= s.size()) return false;
    unsigned cp = c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
      const auto b = static_cast<unsigned char>(s[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8.
    if (cp < least || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return false;
    i += std::size_t(extra) + 1;
  }
  return true;
}

// Converts with glibc's iconv; false when a character cannot be converted.
bool convert(const char* to, const char* from, const std::string& in, std::string& out) {
  const iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("Text conversion not available");
  out.clear();
  char* src = const_cast<char*>(in.data());
  std::size_t left = in.size();
  char buf[4096];
  bool ok = true;
  while (left > 0) {
    char* dst = buf;
    std::size_t room = sizeof buf;
    const std::size_t r = ::iconv(cd, &src, &left, &dst, &room);
    out.append(buf, std::size_t(dst - buf));
    if (r == std::size_t(-1) && errno != E2BIG) {
      ok = false;
      break;
    }
  }
  ::iconv_close(cd);
  return ok;
}

}  // namespace

TextEncoding detectEncoding(const std::string& bytes) {
  return validUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1251;
}

std::string decodeText(const std::string& bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return bytes;
  std::string out;
  // The one byte Windows-1251 leaves unassigned, 0x98, is kept as U+0098 so
  // that it is written back as it was.
  std::string piece;
  for (std::size_t start = 0; start < bytes.size();) {
    const std::size_t hole = bytes.find('\x98', start);
    const std::size_t end = hole == std::string::npos ? bytes.size() : hole;
    if (!convert("UTF-8", "CP1251", bytes.substr(start, end - start), piece)) piece = "\xEF\xBF\xBD";
    out += piece;
    if (hole == std::string::npos) break;
    out += "\xC2\x98";
    start = hole + 1;
  }
  return out;
}

std::optional<std::string> encodeText(const std::string& utf8, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return utf8;
  std::string out, piece;
  for (std::size_t start = 0; start < utf8.size();) {
    const std::size_t hole = utf8.find("\xC2\x98", start);
    const std::size_t end = hole == std::string::npos ? utf8.size() : hole;
    if (!convert("CP1251", "UTF-8", utf8.substr(start, end - start), piece)) return std::nullopt;
    out += piece;
    if (hole == std::string::npos) break;
    out += '\x98';
    start = hole + 2;
  }
  return out;
}

}  // namespace zentrova
