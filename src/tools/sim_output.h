#pragma once
// How the simulator writes: every write checked, tables and trajectories
// written a whole record at a time and flushed, no output over an input.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "state/particle_set.h"

namespace zentrova {

// A stream the run writes as it goes: a file, or standard output. Every
// write is one whole record: when it fails (a full disk, a file-size limit),
// a regular file is cut back to the end of the last whole record, so readers
// never see half a row or frame. The first failure is kept as "NAME:
// message" and printed on standard error; later writes are dropped.
class StreamOutput {
 public:
  // Creates or truncates the file; throws IoError naming it.
  static StreamOutput file(const std::string& path);
  // An existing file cut back to `length` bytes and written on from there;
  // throws IoError naming it. checkContinuable tells beforehand, changing
  // nothing, whether that can be done.
  static StreamOutput continued(const std::string& path, std::uint64_t length);
  static void checkContinuable(const std::string& path, std::uint64_t length);
  static StreamOutput standardOutput();
  StreamOutput(StreamOutput&& other) noexcept;
  StreamOutput& operator=(StreamOutput&&) = delete;
  ~StreamOutput();

  // Writes the text whole, or nothing of it; false once the stream has failed.
  bool write(const std::string& text);
  // What was written, on disk: a checkpoint that counts it must not outlive
  // it in a crash. False once the stream has failed.
  bool sync();
  // Syncs and closes a file; false once the stream has failed.
  bool finish();
  const std::optional<std::string>& error() const { return error_; }
  // The bytes of whole records the file holds, from where it was opened.
  std::uint64_t length() const { return length_; }

 private:
  StreamOutput(std::string name, int fd, bool own, std::uint64_t length);
  void fail(int err);
  std::string name_;
  int fd_;
  bool own_;
  std::int64_t base_ = -1;  // the file offset where writing began; -1 for a pipe
  std::uint64_t length_;
  std::optional<std::string> error_;
};

// Writes the text to standard output and flushes it: throws IoError
// "standard output: ..." when it cannot.
void writeStandardOutput(const std::string& text);
// Standard output flushed and checked: throws IoError "standard output: ...".
void finishStandardOutput();

// A file the command names: an option ("-o", "--csv", or "input") and a path.
struct NamedFile {
  std::string option;
  std::string path;
};
// Refuses, with AppError, two of these that are one file: the same device
// and inode when both exist, the same path after links otherwise.
void refuseSameFile(const std::vector<NamedFile>& files);

// Present particles with a non-finite position or velocity, each named on
// standard error: "zentrova-sim: IN: particle 5 has a non-finite value".
std::vector<int> reportNonFinite(const std::string& in, const ParticleSet& set);

}  // namespace zentrova
