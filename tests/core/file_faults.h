#pragma once
// Real failures for the file steps: a file system with no room left, a file
// size limit, and an identity without the rights of root. Each one undoes
// itself when it goes out of scope.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace faults {

// Every entry of a folder, for checking that a failed write left nothing.
inline std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

inline std::string bytesOf(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void putBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A small tmpfs over an empty folder, mounted in a mount namespace of the
// calling thread alone, so that no one else on the machine sees it and it
// goes away with the process at the latest. Needs root; the file steps under
// test must run on the same thread.
class TinyDisk {
 public:
  explicit TinyDisk(const std::string& folder) : folder_(folder) {
    if (::geteuid() != 0) {
      reason_ = "mounting needs root";
      return;
    }
    static const int unshared = [] {
      if (::unshare(CLONE_NEWNS) != 0) return errno;
      // Mounts made from here on must not reach the machine's namespace.
      if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return errno;
      return 0;
    }();
    if (unshared != 0) {
      reason_ = std::string("no private mount namespace: ") + std::strerror(unshared);
      return;
    }
    if (::mount("zentrova-faults", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k,mode=0755") != 0) {
      reason_ = std::string("tmpfs refused: ") + std::strerror(errno);
      return;
    }
    mounted_ = true;
  }
  ~TinyDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  TinyDisk(const TinyDisk&) = delete;
  TinyDisk& operator=(const TinyDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& reason() const { return reason_; }

  // Takes every free block, so that the next write that needs one fails.
  // Returns false when the disk would not fill.
  bool fill() {
    const std::string filler = folder_ + "/filler";
    FILE* f = std::fopen(filler.c_str(), "wb");
    if (!f) return false;
    std::setvbuf(f, nullptr, _IONBF, 0);
    const std::string block(4096, 'f');
    bool full = false;
    for (int i = 0; i < 1024 && !full; ++i) full = std::fwrite(block.data(), 1, block.size(), f) != block.size();
    std::fclose(f);
    return full;
  }

 private:
  std::string folder_;
  std::string reason_;
  bool mounted_ = false;
};

// A file size limit for this process, with SIGXFSZ ignored so that writes
// past it fail with EFBIG instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &savedAction_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    ::sigaction(SIGXFSZ, &savedAction_, nullptr);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool active() const { return active_; }

 private:
  rlimit saved_{};
  struct sigaction savedAction_ {};
  bool active_ = false;
};

// A device that takes no data, like /dev/full: a node of its own in the
// folder when root may make one, else the system's (which only root could
// replace). Empty when there is none.
inline std::string fullDevice(const std::string& folder) {
  struct stat st {};
  if (::geteuid() == 0) {
    const std::string node = folder + "/full";
    if (::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) return {};
    const int fd = ::open(node.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
      ::unlink(node.c_str());  // a file system that refuses devices
      return {};
    }
    ::close(fd);
    return node;
  }
  if (::stat("/dev/full", &st) == 0 && S_ISCHR(st.st_mode)) return "/dev/full";
  return {};
}

inline bool isCharDevice(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// The uid and gid the permission tests act as when they run as root.
inline constexpr uid_t kNobody = 65534;

// Makes this thread's file accesses those of an unprivileged user, since root
// passes every permission check. Not root: nothing changes, as permissions
// already apply. The file system identity is per thread and only used for
// file access, so the rest of the process keeps running as it was.
class Unprivileged {
 public:
  Unprivileged() {
    if (::geteuid() != 0) {
      active_ = true;
      return;
    }
    ::setfsgid(kNobody);
    ::setfsuid(kNobody);
    // Asking with an invalid id changes nothing and returns the current one.
    active_ = ::setfsuid(uid_t(-1)) == kNobody && ::setfsgid(gid_t(-1)) == kNobody;
    switched_ = true;
  }
  ~Unprivileged() {
    if (!switched_) return;
    ::setfsuid(0);
    ::setfsgid(0);
  }
  Unprivileged(const Unprivileged&) = delete;
  Unprivileged& operator=(const Unprivileged&) = delete;
  bool active() const { return active_; }

 private:
  bool active_ = false;
  bool switched_ = false;
};

}  // namespace faults
