#include "sim_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <filesystem>

#include "files/io_error.h"
#include "sim_input.h"
#include "sim_messages.h"

namespace zentrova {

StreamOutput::StreamOutput(std::string name, int fd, bool own, std::uint64_t length)
    : name_(std::move(name)), fd_(fd), own_(own), length_(length) {
  struct stat st {};
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) return;
  // Appending (">>"), writes land at the end whatever the offset says.
  const int flags = ::fcntl(fd_, F_GETFL);
  const std::int64_t at = flags >= 0 && (flags & O_APPEND) ? std::int64_t(st.st_size) : ::lseek(fd_, 0, SEEK_CUR);
  if (at >= std::int64_t(length)) base_ = at - std::int64_t(length);
}

StreamOutput StreamOutput::file(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) failFor(path, IoError(simIoMessage(errno), errno));
  return StreamOutput(path, fd, true, 0);
}

void StreamOutput::checkContinuable(const std::string& path, std::uint64_t length) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) failFor(path, IoError(simIoMessage(errno), errno));
  if (!S_ISREG(st.st_mode)) failFor(path, AppError("not a regular file, so it cannot be continued"));
  if (std::uint64_t(st.st_size) < length)
    failFor(path, AppError("holds " + std::to_string(st.st_size) + " bytes, fewer than the " + std::to_string(length) +
                           " the checkpoint says were written"));
  if (::access(path.c_str(), W_OK) != 0) failFor(path, IoError(simIoMessage(errno), errno));
}

StreamOutput StreamOutput::continued(const std::string& path, std::uint64_t length) {
  checkContinuable(path, length);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) failFor(path, IoError(simIoMessage(errno), errno));
  if (::ftruncate(fd, off_t(length)) != 0 || ::lseek(fd, off_t(length), SEEK_SET) < 0) {
    const int err = errno;
    ::close(fd);
    failFor(path, IoError(simIoMessage(err), err));
  }
  return StreamOutput(path, fd, true, length);
}

StreamOutput StreamOutput::standardOutput() {
  std::fflush(stdout);  // what stdio holds goes first
  return StreamOutput("standard output", STDOUT_FILENO, false, 0);
}

StreamOutput::StreamOutput(StreamOutput&& o) noexcept
    : name_(std::move(o.name_)), fd_(o.fd_), own_(o.own_), base_(o.base_), length_(o.length_),
      error_(std::move(o.error_)) {
  o.fd_ = -1;
}

StreamOutput::~StreamOutput() {
  if (fd_ >= 0 && own_) ::close(fd_);
}

void StreamOutput::fail(int err) {
  error_ = name_ + ": " + simIoMessage(err ? err : EIO);
  simMessage(*error_);
}

bool StreamOutput::write(const std::string& text) {
  if (error_ || fd_ < 0) return false;
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t w = ::write(fd_, text.data() + done, text.size() - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) {
      const int err = w < 0 ? errno : EIO;
      // Half a record is worse than none: the file ends on the last whole
      // one, unless someone else has written to it meanwhile.
      const std::int64_t whole = base_ + std::int64_t(length_);
      struct stat st {};
      if (base_ >= 0 && done > 0 && ::fstat(fd_, &st) == 0 && std::int64_t(st.st_size) == whole + std::int64_t(done)) {
        [[maybe_unused]] const int cut = ::ftruncate(fd_, off_t(whole));
        ::lseek(fd_, off_t(whole), SEEK_SET);
      }
      fail(err);
      return false;
    }
    done += std::size_t(w);
  }
  length_ += text.size();
  return true;
}

bool StreamOutput::sync() {
  if (error_ || fd_ < 0) return !error_;
  if (base_ >= 0 && ::fdatasync(fd_) != 0 && errno != EINVAL && errno != EROFS) fail(errno);
  return !error_;
}

bool StreamOutput::finish() {
  if (fd_ < 0) return !error_;
  sync();
  const int fd = fd_;
  fd_ = -1;
  if (own_ && ::close(fd) != 0 && errno != EINTR && !error_) fail(errno);
  return !error_;
}

void writeStandardOutput(const std::string& text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    throw IoError("standard output: " + simIoMessage(errno ? errno : EIO));
}

void finishStandardOutput() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    throw IoError("standard output: " + simIoMessage(errno ? errno : EIO));
}

void refuseSameFile(const std::vector<NamedFile>& files) {
  namespace fs = std::filesystem;
  auto same = [](const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
      return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    std::error_code ea, eb;
    const fs::path pa = fs::weakly_canonical(a, ea), pb = fs::weakly_canonical(b, eb);
    return !ea && !eb && pa == pb;
  };
  for (std::size_t i = 0; i < files.size(); ++i)
    for (std::size_t k = i + 1; k < files.size(); ++k)
      if (same(files[i].path, files[k].path))
        throw AppError(files[k].path + ": " + files[i].option + " and " + files[k].option + " name the same file");
}

std::vector<int> reportNonFinite(const std::string& in, const ParticleSet& s) {
  std::vector<int> found;
  for (int i = 1; i <= kMaxParticles; ++i) {
    if (!s.present(i)) continue;
    const int a = i - 1;
    for (Real v : {s.X[a], s.Y[a], s.Z[a], s.Ux[a], s.Uy[a], s.Uz[a]})
      if (!std::isfinite(v)) {
        found.push_back(i);
        simMessage(in, "particle " + std::to_string(i) + " has a non-finite value");
        break;
      }
  }
  return found;
}

}  // namespace zentrova
