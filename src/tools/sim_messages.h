#pragma once
// Every message of the simulator is written here: "zentrova-sim: TEXT" on
// standard error, one whole line per call.
#include <string>

namespace zentrova {

void simMessage(const std::string& text);
// "zentrova-sim: PATH: TEXT"
void simMessage(const std::string& path, const std::string& text);

}  // namespace zentrova
