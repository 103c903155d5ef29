#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/io_error.h"

namespace zentrova {

// A file opened for reading, closed by close() (checked) or the destructor.
class InFile {
 public:
  InFile() = default;
  InFile(InFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  InFile& operator=(InFile&& other) noexcept;
  ~InFile();

  // Probed open: false when the file cannot be opened for reading; the reason
  // is kept in error(). Read-only access, so write-protected files open. A
  // pipe opens without waiting for a writer.
  bool tryOpen(const std::string& path);
  // Checked open: throws IoError.
  void open(const std::string& path);
  // Reads exactly n bytes; fewer available is "Read beyond end of file".
  void readExact(std::uint8_t* out, std::size_t n);
  // Reads everything that is left, but never more than limit bytes, so that
  // a device or a runaway file cannot exhaust memory.
  std::vector<std::uint8_t> readAll(std::size_t limit = kReadAllLimit);
  static constexpr std::size_t kReadAllLimit = std::size_t(64) << 20;
  void close();
  bool isOpen() const { return fd_ >= 0; }
  int error() const { return error_; }

 private:
  int fd_ = -1;
  int error_ = 0;
};

// Replaces the file at path by exactly these bytes, all or nothing: the bytes
// go to a temporary file in the same folder, which is flushed to disk and then
// renamed over the target, keeping the target's permissions. On failure the
// previous file is untouched and IoError is thrown. A device or a pipe is
// written in place instead (writing to /dev/full fails with "Disk full"), and
// so is a writable file in a folder where no temporary can be made; there the
// new size is reserved first, so running out of space changes nothing.
void writeFileReplacing(const std::string& path, const std::uint8_t* data, std::size_t size);

// As writeFileReplacing, for many files written one after another: the new
// file is renamed into place unsynced and its descriptor returned open, for
// UnsyncedFiles to make durable together with the others. Returns -1 when
// the file was written in place (a device, or no temporary possible), where
// it is synced at once.
int writeFileReplacingUnsynced(const std::string& path, const std::uint8_t* data, std::size_t size);

// A failed sync, naming the file (or folder) it failed for.
class SyncError : public IoError {
 public:
  SyncError(int err, std::string path);
  std::string path;
};

// Files written by writeFileReplacingUnsynced, made durable by one sync of
// their file system when sync() is called, instead of two syncs a file: on
// an ordinary disk each sync waits for the journal, milliseconds a file.
class UnsyncedFiles {
 public:
  UnsyncedFiles() = default;
  ~UnsyncedFiles();  // closes what is left, unsynced
  UnsyncedFiles(const UnsyncedFiles&) = delete;
  UnsyncedFiles& operator=(const UnsyncedFiles&) = delete;

  // Takes over the descriptor (-1: nothing to do). Throws SyncError.
  void add(int fd, const std::string& path);
  // Makes every file added since the last sync durable, with its name in
  // its folder, and closes them. Throws SyncError naming the first file
  // whose data could not be written, else its folder.
  void sync();
  bool empty() const { return kept_.empty() && unnamed_.empty(); }

 private:
  struct Kept {
    int fd;
    std::string path;
  };
  // Up to kKept stay open, so that a failure can be told by its file; the
  // files after them are closed at once and only their folder is named.
  static constexpr std::size_t kKept = 256;
  std::vector<Kept> kept_;
  std::string unnamed_;  // the folder of a file closed unsynced since the last sync
};

// Removes the temporary files of replacing writes still in progress, for a
// process that ends on a signal. Async-signal-safe: it only reads fixed
// buffers and calls unlink.
void removePendingTemporary() noexcept;

// Throws the IoError a later writeFileReplacing(path) would fail with, as far
// as that can be told without writing anything: a missing or protected
// folder, a folder in place of the file, a write-protected file.
void checkWritable(const std::string& path);

}  // namespace zentrova
