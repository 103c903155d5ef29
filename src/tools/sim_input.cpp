#include "sim_input.h"

#include <cerrno>

#include "files/file_formats.h"
#include "files/file_io.h"
#include "sim_messages.h"

namespace zentrova {

void failFor(const std::string& path, const AppError& e) {
  const auto* io = dynamic_cast<const IoError*>(&e);
  // The window's message for a folder is "File access denied"; a command
  // line is better told what it named.
  if (io && io->error == EISDIR) throw IoError(path + ": is a directory", EISDIR);
  throw IoError(path + ": " + e.what(), io ? io->error : 0);
}

void loadInputSet(const std::string& path, ParticleRecord& record, ParticleSet& set) {
  try {
    readSetByContent(path, record, set);
  } catch (const AppError& e) {
    failFor(path, e);
  }
}

void checkOutput(const std::string& path) {
  try {
    checkWritable(path);
  } catch (const IoError& e) {
    failFor(path, e);
  }
}

void reportFault(const std::string& in, const FpError& e) { simMessage(in, e.what()); }

}  // namespace zentrova
