#include "sim_messages.h"

#include <unistd.h>

#include <cerrno>

#include "files/io_error.h"

namespace zentrova {

void simMessage(const std::string& text) {
  // One write, so that messages of several processes sharing a log never
  // mix within a line; standard error is unbuffered anyway.
  const std::string line = "zentrova-sim: " + text + "\n";
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t w = ::write(STDERR_FILENO, line.data() + done, line.size() - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return;  // nowhere left to say it
    done += std::size_t(w);
  }
}

std::string simIoMessage(int err) {
  if (err == EISDIR) return "is a directory";
  if (err == EFBIG) return "File too large";
  return ioMessage(err);
}

void simMessage(const std::string& path, const std::string& text) { simMessage(path + ": " + text); }

}  // namespace zentrova
