#pragma once
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

// The commentary beside a set: the set's name less its last four characters,
// plus ".txt" (cube.lis1 gives cube..txt, which existing files carry). A name
// shorter than four characters is kept whole.
std::string commentaryPath(const std::string& setFileName);

// Every lone CR and every lone LF becomes CR LF; CR LF pairs stay.
std::string toCrLf(const std::string& bytes);

// Probed open: nullopt when the file cannot be opened. Otherwise the whole
// file with its line ends made CR LF; a failing read throws IoError.
std::optional<std::string> loadCommentary(const std::string& path);

// Writes the lines with CR LF between them and nothing after the last. The
// previous file survives any failure, which throws IoError.
void saveCommentary(const std::string& path, const std::vector<std::string>& lines);

// The field's text split into lines at CR LF, lone CR or lone LF, so a text
// ending in a line break ends in an empty line.
std::vector<std::string> commentaryLines(const std::string& text);

}  // namespace zentrova
