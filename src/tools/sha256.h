#pragma once
#include <string>

namespace zentrova {

// The SHA-256 of a file's bytes as 64 lowercase hex digits; throws IoError.
std::string sha256OfFile(const std::string& path);
// The same of bytes in memory.
std::string sha256Of(const std::string& bytes);

}  // namespace zentrova
