#pragma once
// How the simulator writes: every write checked, tables and trajectories
// written a whole record at a time and flushed, no output over an input.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "state/particle_set.h"

namespace zentrova {

// A stream the run writes as it goes: a file it creates, or standard output.
// The first failed write or close is kept as "NAME: message" and printed on
// standard error; later writes to the stream are dropped.
class StreamOutput {
 public:
  // Creates or truncates the file; throws IoError naming it.
  static StreamOutput file(const std::string& path);
  static StreamOutput standardOutput();
  StreamOutput(StreamOutput&& other) noexcept;
  StreamOutput& operator=(StreamOutput&&) = delete;
  ~StreamOutput();

  // Writes the text and flushes it; false once the stream has failed.
  bool write(const std::string& text);
  // Flushes and, for a file, closes it.
  bool finish();
  const std::optional<std::string>& error() const { return error_; }

 private:
  StreamOutput(std::string name, std::FILE* f, bool own) : name_(std::move(name)), file_(f), own_(own) {}
  void fail(int err);
  std::string name_;
  std::FILE* file_;
  bool own_;
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
