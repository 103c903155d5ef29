#include "files/startup_file.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>

#include "files/file_io.h"
#include "files/io_error.h"

namespace zentrova {

namespace {

// Creates every missing folder on the way to path's folder.
void makeParentFolders(const std::string& path) {
  for (std::size_t pos = path.find('/', 1); pos != std::string::npos; pos = path.find('/', pos + 1)) {
    const std::string folder = path.substr(0, pos);
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) throwIo(errno);
  }
}

}  // namespace

std::string startupFilePath() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  std::string base;
  if (config && *config) {
    base = config;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : ".") + "/.config";
  }
  return base + "/zentrova/Start.zent";
}

std::string startupNameFromBytes(const std::string& bytes) {
  const auto end = bytes.find_first_of(std::string("\r\x1a", 2));
  return end == std::string::npos ? bytes : bytes.substr(0, end);
}

constexpr std::size_t kStartupReadLimit = 65536;

std::optional<std::string> readStartupFile(const std::string& path) {
  InFile file;
  if (!file.tryOpen(path)) return std::nullopt;
  // Only the first line counts, and no path is longer than this.
  const auto data = file.readAll(kStartupReadLimit);
  file.close();
  return startupNameFromBytes(std::string(data.begin(), data.end()));
}

void createEmptyStartupFile(const std::string& path) {
  makeParentFolders(path);
  writeFileReplacing(path, nullptr, 0);
}

void writeStartupFile(const std::string& path, const std::string& name) {
  makeParentFolders(path);
  writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(name.data()), name.size());
}

}  // namespace zentrova
