#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "files/io_error.h"

namespace zentrova {

InFile& InFile::operator=(InFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

InFile::~InFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool InFile::tryOpen(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  // Opening a pipe must not wait for a writer that may never come; reads
  // block again afterwards, and an unwritten pipe reads as empty.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  error_ = fd_ < 0 ? errno : 0;
  if (fd_ < 0) return false;
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
  struct stat st {};
  if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    error_ = EACCES;  // a folder is not a file that can be read
    return false;
  }
  return true;
}

void InFile::open(const std::string& path) {
  if (path.empty()) throwIo(ENOENT);
  if (!tryOpen(path)) throwIo(error_);
}

void InFile::readExact(std::uint8_t* out, std::size_t n) {
  std::size_t got = 0;
  while (got < n) {
    const ssize_t r = ::read(fd_, out + got, n - got);
    if (r < 0) {
      if (errno == EINTR) continue;
      throwIo(errno);
    }
    if (r == 0) throw IoError(kMsgReadBeyondEnd);
    got += std::size_t(r);
  }
}

std::vector<std::uint8_t> InFile::readAll(std::size_t limit) {
  std::vector<std::uint8_t> data;
  std::uint8_t buf[65536];
  while (data.size() < limit) {
    const ssize_t r = ::read(fd_, buf, std::min(sizeof buf, limit - data.size()));
    if (r < 0) {
      if (errno == EINTR) continue;
      throwIo(errno);
    }
    if (r == 0) return data;
    data.insert(data.end(), buf, buf + r);
  }
  return data;
}

void InFile::close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) throwIo(errno);
}

namespace {

std::string folderOf(const std::string& path);

// Writes go to the file a symbolic link names, not over the link, also when
// that file does not exist yet.
std::string resolvedTarget(const std::string& path) {
  std::string p = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    char buf[PATH_MAX];
    const ssize_t n = ::readlink(p.c_str(), buf, sizeof buf);
    if (n < 0) throwIo(errno);
    if (std::size_t(n) >= sizeof buf) throwIo(ENAMETOOLONG);
    const std::string link(buf, std::size_t(n));
    p = link.front() == '/' ? link : folderOf(p) + "/" + link;
  }
  throwIo(ELOOP);
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Writes every byte; returns 0, or the errno of the write that failed.
int writeAll(int fd, const std::uint8_t* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t w = ::write(fd, data + done, size - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += std::size_t(w);
  }
  return 0;
}

// A device or a pipe is written where it is: swapping a regular file in for
// it would destroy the node and report a success it never had. A regular file
// is written where it is only when no temporary file can be made beside it;
// then it is truncated (or created) first.
void writeInPlace(const std::string& target, const std::uint8_t* data, std::size_t size, int extraFlags = 0) {
  // A pipe without a reader fails at once rather than waiting for one.
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | extraFlags, 0666);
  if (fd < 0) throwIo(errno);
  const auto fail = [&](int err) {
    ::close(fd);
    throwIo(err);
  };
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (const int err = writeAll(fd, data, size)) fail(err);
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) fail(errno);
  if (::close(fd) != 0 && errno != EINTR) throwIo(errno);
}

}  // namespace

void writeFileReplacing(const std::string& path, const std::uint8_t* data, std::size_t size) {
  if (path.empty()) throwIo(ENOENT);
  const std::string target = resolvedTarget(path);
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) throwIo(EACCES);
  if (exists && !S_ISREG(st.st_mode)) {
    writeInPlace(target, data, size);
    return;
  }
  // Only a writable target may be replaced, as truncating it would require;
  // asked with the identity the write itself runs under.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) throwIo(EACCES);

  std::string tmpl = target + ".XXXXXX";
  const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
  if (fd < 0) {
    // No temporary file beside the target (a write-protected folder, a name
    // at the length limit): a plain write is still allowed where the target
    // itself is writable or can be created.
    const int err = errno;
    if (err != EACCES && err != EPERM && err != ENAMETOOLONG) throwIo(err);
    if (exists) {
      writeInPlace(target, data, size, O_TRUNC);
    } else {
      const int created = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (created < 0) throwIo(err);
      ::close(created);
      try {
        writeInPlace(target, data, size);
      } catch (...) {
        ::unlink(target.c_str());  // no half-written new file is left behind
        throw;
      }
    }
    return;
  }
  const auto fail = [&](int err) {
    ::close(fd);
    ::unlink(tmpl.c_str());
    throwIo(err);
  };
  mode_t mode = 0666;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  if (::fchmod(fd, mode) != 0) fail(errno);
  if (const int err = writeAll(fd, data, size)) fail(err);
  if (::fsync(fd) != 0 && errno != EINVAL) fail(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    throwIo(err);
  }
  if (::rename(tmpl.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmpl.c_str());
    throwIo(err);
  }
  // Make the rename itself durable.
  const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void checkWritable(const std::string& path) {
  if (path.empty()) throwIo(ENOENT);
  const std::string target = resolvedTarget(path);
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throwIo(EACCES);
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) throwIo(errno);
    return;
  }
  if (errno != ENOENT) throwIo(errno);
  const std::string folder = folderOf(target);
  if (::stat(folder.c_str(), &st) != 0) throwIo(errno);
  if (!S_ISDIR(st.st_mode)) throwIo(ENOTDIR);
  if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) throwIo(errno);
  const long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  const std::size_t nameLength = target.size() - target.rfind('/') - 1;
  if (nameMax > 0 && nameLength > std::size_t(nameMax)) throwIo(ENAMETOOLONG);
}

}  // namespace zentrova
