#pragma once
#include <cstddef>
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

// A commentary as the window reads it: missing (nothing to show), loaded
// (its exact bytes), or refused (why, in a sentence naming the file). Only
// a regular file is read, so a FIFO or a device never blocks the reader.
struct CommentaryRead {
  enum class State { Missing, Loaded, Refused };
  State state = State::Missing;
  std::string bytes;
  std::string why;
};
inline constexpr std::size_t kCommentaryLimit = std::size_t(1) << 20;  // shown within a fraction of a second
CommentaryRead readCommentary(const std::string& path, std::size_t limit = kCommentaryLimit);

// Writes exactly these bytes; the previous file survives any failure, which
// throws IoError.
void saveCommentaryBytes(const std::string& path, const std::string& bytes);

// A commentary's text split where a text box starts a new paragraph (CR LF,
// lone CR, lone LF, U+2029, U+FDD0, U+FDD1 in UTF-8), with each separator
// kept, so that text put back between the same separators gives the same
// bytes. separators.size() == paragraphs.size() - 1.
struct CommentaryParagraphs {
  std::vector<std::string> paragraphs;
  std::vector<std::string> separators;
};
CommentaryParagraphs splitParagraphs(const std::string& utf8);
// The paragraphs joined by the kept separators; paragraphs beyond them are
// joined by CR LF.
std::string joinParagraphs(const std::vector<std::string>& paragraphs, const std::vector<std::string>& separators);

// Writes the lines with CR LF between them and nothing after the last. The
// previous file survives any failure, which throws IoError.
void saveCommentary(const std::string& path, const std::vector<std::string>& lines);

// The field's text split into lines at CR LF, lone CR or lone LF, so a text
// ending in a line break ends in an empty line.
std::vector<std::string> commentaryLines(const std::string& text);

}  // namespace zentrova
