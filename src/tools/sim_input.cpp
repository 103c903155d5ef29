#include "sim_input.h"

#include <cstdio>

#include "files/file_io.h"
#include "files/set_file.h"

namespace zentrova {

void failFor(const std::string& path, const AppError& e) { throw IoError(path + ": " + e.what()); }

void loadInputSet(const std::string& path, ParticleRecord& record, ParticleSet& set) {
  try {
    readSetFile(path, record);
  } catch (const IoError& e) {
    failFor(path, e);
  }
  set.Count = kMaxParticles;
  loadRecordIntoSet(record, set);
}

void checkOutput(const std::string& path) {
  try {
    checkWritable(path);
  } catch (const IoError& e) {
    failFor(path, e);
  }
}

void reportFault(const std::string& in, const FpError& e) {
  std::fprintf(stderr, "zentrova-sim: %s: %s\n", in.c_str(), e.what());
}

}  // namespace zentrova
