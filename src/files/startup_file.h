#pragma once
#include <optional>
#include <string>

namespace zentrova {

// Where the start-up pointer file lives: $XDG_CONFIG_HOME/zentrova/Start.zent,
// or ~/.config/zentrova/Start.zent when the variable is unset or empty.
std::string startupFilePath();

// The path the start-up file names: its bytes up to the first carriage return
// (13) or end-of-file mark (26), or all of them. A line feed does not end it.
std::string startupNameFromBytes(const std::string& bytes);

// Probed open of the start-up file, then a checked read: nullopt when it
// cannot be opened.
std::optional<std::string> readStartupFile(const std::string& path);

// Checked: creates the file empty, making its folder when needed.
void createEmptyStartupFile(const std::string& path);

// Checked: replaces the file's content by name with no line end.
void writeStartupFile(const std::string& path, const std::string& name);

}  // namespace zentrova
