#pragma once
#include <string>

#include "state/errors.h"

namespace zentrova {

inline constexpr const char* kMsgFileNotFound = "File not found";
inline constexpr const char* kMsgAccessDenied = "File access denied";
inline constexpr const char* kMsgReadBeyondEnd = "Read beyond end of file";
inline constexpr const char* kMsgDiskFull = "Disk full";

// The user's message for a failed system call's errno.
std::string ioMessage(int err);
[[noreturn]] void throwIo(int err);

}  // namespace zentrova
