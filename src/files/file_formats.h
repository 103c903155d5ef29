#pragma once
// The formats sets and runs are read from and written to, each registered
// once: the simulator's trajectory options, its input and convert, and the
// Python module find them here. A new format is one more entry.
#include <cstdint>
#include <string>
#include <vector>

#include "state/particle_record.h"
#include "state/particle_set.h"

namespace zentrova {

struct FileFormat {
  const char* name;                     // "lis1", "xyz", "csv"; "--xyz" is the option of a trajectory
  std::vector<const char*> extensions;  // lower case, without the dot
  // Whether these bytes are a file of this format, told by their content.
  bool (*recognises)(const std::vector<std::uint8_t>& bytes) = nullptr;
  // Makes `set` (Count 60) and `record` the set the bytes hold: the record,
  // or the last frame of a trajectory. Null for a format that holds no set.
  // Throws AppError saying what is wrong; XyzMissingValues for dt or a
  // parameter the frame lacks and `given` (what the caller sets) does not name.
  void (*readSet)(const std::vector<std::uint8_t>& bytes, ParticleRecord& record, ParticleSet& set,
                  const std::vector<std::string>& given) = nullptr;
  // Written once at the start of a new trajectory file; may be empty.
  const char* trajectoryHeader = "";
  // One record of a trajectory: the present particles of `set` at step
  // `step`. Null for a format that is no trajectory.
  std::string (*frame)(const ParticleSet& set, std::int64_t step, bool taoscope) = nullptr;
  // Writes the set as a whole file of this format (replacing safely); null
  // where the format keeps no single set.
  void (*writeSet)(const std::string& path, const ParticleSet& set, ParticleRecord& record, std::int64_t step,
                   bool taoscope) = nullptr;
};

// Every format, in the order their options are listed.
const std::vector<FileFormat>& fileFormats();
// The format of that name, or null.
const FileFormat* formatNamed(const std::string& name);
// The format a file name's extension names (any case), or null.
const FileFormat* formatOfPath(const std::string& path);

// Reads the set a file of format `f` holds (which must read sets). Throws
// IoError or AppError; the caller names the file.
void readSetAs(const FileFormat& f, const std::string& path, ParticleRecord& record, ParticleSet& set,
               const std::vector<std::string>& given);

// Reads the set a file holds, by its content: extended XYZ (its last frame)
// or a .lis1 record of exactly 3784 bytes. `set` is made whole (Count 60).
// Throws IoError or AppError; the caller names the file.
void readSetByContent(const std::string& path, ParticleRecord& record, ParticleSet& set,
                      const std::vector<std::string>& given);

}  // namespace zentrova
