#include "files/commentary.h"

#include <cerrno>
#include <cstdint>

#include "files/file_io.h"
#include "files/io_error.h"

namespace zentrova {

std::string commentaryPath(const std::string& setFileName) {
  std::string base = setFileName;
  if (base.size() >= 4) base.erase(base.size() - 4);
  return base + ".txt";
}

std::string toCrLf(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> loadCommentary(const std::string& path) {
  InFile file;
  if (!file.tryOpen(path)) return std::nullopt;
  // A commentary larger than the limit is refused rather than cut short, so
  // that saving the memo later cannot shorten the file unnoticed.
  const std::vector<std::uint8_t> data = file.readAll(InFile::kReadAllLimit + 1);
  if (data.size() > InFile::kReadAllLimit) throwIo(EFBIG);
  file.close();
  return toCrLf(std::string(data.begin(), data.end()));
}

void saveCommentary(const std::string& path, const std::vector<std::string>& lines) {
  std::string data;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) data += "\r\n";
    data += lines[i];
  }
  writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

std::vector<std::string> commentaryLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

}  // namespace zentrova
