#include "files/file_io.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

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
    error_ = EISDIR;  // a folder is not a file that can be read: "File access denied"
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

// Whether an ordinary open may follow this link, by the kernel's rule for
// protected symlinks: in a sticky folder that everyone may write to, only a
// link of the user's own or of the folder's owner. Another user's link
// planted in /tmp must not redirect a save.
bool mayFollow(const std::string& link, const struct stat& linkStat) {
  struct stat folder {};
  if (::stat(folderOf(link).c_str(), &folder) != 0) return true;  // the open itself will tell
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return !shared || linkStat.st_uid == ::geteuid() || linkStat.st_uid == folder.st_uid;
}

// Writes go to the file a symbolic link names, not over the link, also when
// that file does not exist yet, where an open would follow the link.
std::string resolvedTarget(const std::string& path) {
  std::string p = path;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    if (!mayFollow(p, st)) throwIo(EACCES);
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

// Makes room for size bytes before the first byte of a regular file changes,
// so that a full disk or a size limit fails while the old contents are whole.
// Returns 0, or the errno that refused the room; a file system that cannot
// reserve is written without.
int reserve(int fd, std::size_t size) {
  struct stat before {};
  if (size == 0 || ::fstat(fd, &before) != 0 || !S_ISREG(before.st_mode)) return 0;
  // Not every file system checks the size limit when it reserves.
  rlimit limit {};
  if (off_t(size) < 0 || (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
                          size > limit.rlim_cur && size > std::size_t(before.st_size)))
    return EFBIG;
  const int err = ::posix_fallocate(fd, 0, off_t(size));
  if (err == 0 || err == EOPNOTSUPP || err == ENOSYS || err == EINVAL) return 0;
  // What a partial reservation added beyond the old end goes again. Should
  // that fail too, the old bytes are still whole and the write fails anyway.
  struct stat after {};
  if (::fstat(fd, &after) == 0 && after.st_size > before.st_size) {
    [[maybe_unused]] const int cut = ::ftruncate(fd, before.st_size);
  }
  return err;
}

// A device or a pipe is written where it is: swapping a regular file in for
// it would destroy the node and report a success it never had. A regular file
// is written where it is only when no temporary file can be made beside it:
// its new size is reserved first, then it is overwritten from the start and
// cut to the new length.
void writeInPlace(const std::string& target, const std::uint8_t* data, std::size_t size) {
  // A pipe without a reader fails at once rather than waiting for one.
  const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) throwIo(errno);
  const auto fail = [&](int err) {
    ::close(fd);
    throwIo(err);
  };
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (regular) {
    if (const int err = reserve(fd, size)) fail(err);
  }
  if (const int err = writeAll(fd, data, size)) fail(err);
  if (regular && ::ftruncate(fd, off_t(size)) != 0) fail(errno);
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) fail(errno);
  if (::close(fd) != 0 && errno != EINTR) throwIo(errno);
}

// Where each replacing write keeps the name of its temporary file while the
// file may exist, so that removePendingTemporary can reach it from a signal
// handler. A few writes may be under way at once on different threads; a
// write that finds every slot taken goes on without one.
constexpr int kTemporarySlots = 8;
struct TemporarySlot {
  std::atomic<int> state{0};  // kFree, kClaimed, kNamed
  char name[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "read from signal handlers");
enum : int { kFree = 0, kClaimed = 1, kNamed = 2 };
TemporarySlot temporarySlots[kTemporarySlots];

// The template of a temporary file, held in a slot when one is free. mkostemp
// fills in the name in place before it creates the file, so from the moment
// the file exists the slot names it.
class PendingTemporary {
 public:
  explicit PendingTemporary(const std::string& pattern) : own_(pattern) {
    if (pattern.size() >= PATH_MAX) return;
    for (TemporarySlot& slot : temporarySlots) {
      int expected = kFree;
      if (!slot.state.compare_exchange_strong(expected, kClaimed)) continue;
      std::memcpy(slot.name, pattern.c_str(), pattern.size() + 1);
      slot.state.store(kNamed);
      slot_ = &slot;
      return;
    }
  }
  ~PendingTemporary() { release(); }
  PendingTemporary(const PendingTemporary&) = delete;
  PendingTemporary& operator=(const PendingTemporary&) = delete;

  char* name() { return slot_ ? slot_->name : own_.data(); }
  // The file is gone (renamed or removed): the name no longer needs removing.
  void release() {
    if (slot_) slot_->state.store(kFree);
    slot_ = nullptr;
  }

 private:
  std::string own_;
  TemporarySlot* slot_ = nullptr;
};

}  // namespace

namespace {

// The replacing write; with `later`, nothing is synced and the new file's
// descriptor is returned open (-1 when it was written in place, synced).
int replaceFile(const std::string& path, const std::uint8_t* data, std::size_t size, bool later) {
  if (path.empty()) throwIo(ENOENT);
  const std::string target = resolvedTarget(path);
  struct stat st {};
  const bool exists = ::stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) throwIo(EISDIR);  // "File access denied" too
  if (exists && !S_ISREG(st.st_mode)) {
    writeInPlace(target, data, size);
    return -1;
  }
  // Only a writable target may be replaced, as truncating it would require;
  // asked with the identity the write itself runs under.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) throwIo(EACCES);

  PendingTemporary pending(target + ".XXXXXX");
  const char* tmp = pending.name();
  const int fd = ::mkostemp(pending.name(), O_CLOEXEC);
  if (fd < 0) {
    // No temporary file beside the target (a write-protected folder, a name
    // at the length limit): a plain write is still allowed where the target
    // itself is writable or can be created.
    const int err = errno;
    pending.release();
    if (err != EACCES && err != EPERM && err != ENAMETOOLONG) throwIo(err);
    if (exists) {
      writeInPlace(target, data, size);
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
    return -1;
  }
  const auto fail = [&](int err) {
    ::close(fd);
    ::unlink(tmp);
    pending.release();
    throwIo(err);
  };
  mode_t mode = 0666;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
    // The file keeps its owner and group where this process may give them
    // (root, or a group of the user's own); the mode follows, as a change of
    // owner clears the set-id bits.
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, uid_t(-1), st.st_gid) != 0) {
      // neither can be given: the file becomes the writer's, as a new one would
    }
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  if (::fchmod(fd, mode) != 0) fail(errno);
  if (const int err = writeAll(fd, data, size)) fail(err);
  if (later) {
    // Kept open for the sync to come, which also reports what a close would.
    if (::rename(tmp, target.c_str()) != 0) fail(errno);
    pending.release();
    return fd;
  }
  if (::fsync(fd) != 0 && errno != EINVAL) fail(errno);
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(tmp);
    pending.release();
    throwIo(err);
  }
  if (::rename(tmp, target.c_str()) != 0) {
    const int err = errno;
    ::unlink(tmp);
    pending.release();
    throwIo(err);
  }
  pending.release();
  // Make the rename itself durable.
  const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return -1;
}

}  // namespace

void writeFileReplacing(const std::string& path, const std::uint8_t* data, std::size_t size) {
  replaceFile(path, data, size, false);
}

int writeFileReplacingUnsynced(const std::string& path, const std::uint8_t* data, std::size_t size) {
  return replaceFile(path, data, size, true);
}

SyncError::SyncError(int err, std::string path) : IoError(ioMessage(err), err), path(std::move(path)) {}

UnsyncedFiles::~UnsyncedFiles() {
  for (const Kept& k : kept_) ::close(k.fd);
}

void UnsyncedFiles::add(int fd, const std::string& path) {
  if (fd < 0) return;
  if (kept_.size() < kKept) {
    try {
      kept_.push_back({fd, path});
      return;
    } catch (...) {
      ::close(fd);
      throw;
    }
  }
  // A file system that reports write failures at close reports them here.
  if (::close(fd) != 0 && errno != EINTR) throw SyncError(errno, path);
  unnamed_ = folderOf(path);
}

void UnsyncedFiles::sync() {
  if (kept_.empty()) return;  // files are kept first, so none were closed either
  std::vector<Kept> files;
  files.swap(kept_);
  const std::string unnamed = std::move(unnamed_);
  unnamed_.clear();
  struct Closer {
    std::vector<Kept>& files;
    ~Closer() {
      for (const Kept& k : files) ::close(k.fd);
    }
  } closer{files};
  // The first file was opened before any of the others were written, so its
  // syncfs reports every write failure on the file system since then.
  if (::syncfs(files.front().fd) != 0) {
    const int err = errno;
    // Also failures of other files on the same file system: each of ours
    // reports its own, and a clean one is on disk after its fsync.
    std::vector<std::string> folders;
    for (const Kept& k : files) {
      if (::fsync(k.fd) != 0 && errno != EINVAL) throw SyncError(errno, k.path);
      if (std::find(folders.begin(), folders.end(), folderOf(k.path)) == folders.end())
        folders.push_back(folderOf(k.path));
    }
    for (const std::string& folder : folders) {
      const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      const int failed = dir >= 0 && ::fsync(dir) != 0 && errno != EINVAL ? errno : 0;
      if (dir >= 0) ::close(dir);
      if (failed) throw SyncError(failed, folder);
    }
    // Files already closed cannot tell theirs apart from others'.
    if (!unnamed.empty()) throw SyncError(err, unnamed);
  }
  int failed = 0;
  std::string failedPath;
  for (const Kept& k : files)
    if (::close(k.fd) != 0 && errno != EINTR && !failed) {
      failed = errno;
      failedPath = k.path;
    }
  files.clear();
  if (failed) throw SyncError(failed, failedPath);
}

void removePendingTemporary() noexcept {
  for (TemporarySlot& slot : temporarySlots)
    if (slot.state.load() == kNamed) ::unlink(slot.name);
}

void checkWritable(const std::string& path) {
  if (path.empty()) throwIo(ENOENT);
  const std::string target = resolvedTarget(path);
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) throwIo(EISDIR);
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
