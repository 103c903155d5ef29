#include "files/io_error.h"

#include <cerrno>

namespace zentrova {

std::string ioMessage(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return kMsgFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return kMsgAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return kMsgDiskFull;
    default:
      return "I/O error " + std::to_string(err);
  }
}

void throwIo(int err) { throw IoError(ioMessage(err), err); }

}  // namespace zentrova
