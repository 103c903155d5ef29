#pragma once
// Every message of the simulator is written here: "zentrova-sim: TEXT" on
// standard error, one whole line per call.
#include <string>

namespace zentrova {

void simMessage(const std::string& text);
// The message for a failed system call's errno: the program's own, except
// that a command line names a folder and a file-size limit as such.
std::string simIoMessage(int err);
// "zentrova-sim: PATH: TEXT"
void simMessage(const std::string& path, const std::string& text);

}  // namespace zentrova
