#pragma once
#include <optional>
#include <string>

namespace zentrova {

// The 8-bit texts stored beside older sets were written in a Windows code
// page; newer ones are UTF-8. A text keeps the encoding it was read in, so an
// unchanged text is written back byte for byte.
enum class TextEncoding { Utf8, Windows1251 };

// UTF-8 when the bytes are valid UTF-8, Windows-1251 otherwise.
TextEncoding detectEncoding(const std::string& bytes);

// The bytes as UTF-8. Every byte sequence decodes, Windows-1251 included.
std::string decodeText(const std::string& bytes, TextEncoding encoding);

// The UTF-8 text in the encoding; nullopt when a character has no place in
// it.
std::optional<std::string> encodeText(const std::string& utf8, TextEncoding encoding);

}  // namespace zentrova
