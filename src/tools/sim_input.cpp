#include "sim_input.h"

#include <cerrno>

#include "files/file_formats.h"
#include "files/file_io.h"
#include "files/xyz.h"
#include "sim_messages.h"

namespace zentrova {

void failFor(const std::string& path, const AppError& e) {
  const auto* io = dynamic_cast<const IoError*>(&e);
  // The window says "File access denied" for a folder and "I/O error 27" for
  // a file-size limit; a command line is better told what happened.
  if (io && (io->error == EISDIR || io->error == EFBIG)) throw IoError(path + ": " + simIoMessage(io->error), io->error);
  throw IoError(path + ": " + e.what(), io ? io->error : 0);
}

void loadInputSet(const std::string& path, ParticleRecord& record, ParticleSet& set,
                  const std::vector<std::string>& given) {
  try {
    readSetByContent(path, record, set, given);
  } catch (const XyzMissingValues& e) {
    failFor(path, AppError(std::string(e.what()) + "; give each with --set NAME=VALUE"));
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
