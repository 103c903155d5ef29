#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "file_faults.h"
#include "files/commentary.h"
#include "files/text_codec.h"
#include "state/errors.h"

using namespace zentrova;
namespace fs = std::filesystem;

namespace {
std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}
}  // namespace

TEST(Commentary, PathRule) {
  EXPECT_EQ(commentaryPath("/a/cube.lis1"), "/a/cube..txt");
  EXPECT_EQ(commentaryPath("ThetraSpiral"), "ThetraSp.txt");
  EXPECT_EQ(commentaryPath("abcd"), ".txt");
  EXPECT_EQ(commentaryPath("abc"), "abc.txt");
  EXPECT_EQ(commentaryPath(""), ".txt");
}

TEST(Commentary, LineEnds) {
  EXPECT_EQ(toCrLf("a\nb\rc\r\nd\n\r"), "a\r\nb\r\nc\r\nd\r\n\r\n");
  EXPECT_EQ(commentaryLines("a\r\nb\nc\r"), (std::vector<std::string>{"a", "b", "c", ""}));
  EXPECT_EQ(commentaryLines(""), (std::vector<std::string>{""}));
}

TEST(Commentary, SaveLoadAndFailures) {
  const fs::path dir = fs::temp_directory_path() / ("zentrova_comment_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string path = commentaryPath((dir / "cube.lis1").string());
  EXPECT_FALSE(loadCommentary(path).has_value());

  saveCommentary(path, {"first", "", "\xe9t\xe9"});
  EXPECT_EQ(slurp(path), "first\r\n\r\n\xe9t\xe9");  // nothing after the last line
  EXPECT_EQ(loadCommentary(path), "first\r\n\r\n\xe9t\xe9");
  EXPECT_EQ(commentaryLines(*loadCommentary(path)), (std::vector<std::string>{"first", "", "\xe9t\xe9"}));

  std::ofstream(path, std::ios::binary) << "one\ntwo\n";
  EXPECT_EQ(loadCommentary(path), "one\r\ntwo\r\n");

  // A failed save keeps the previous file.
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  fs::permissions(path, fs::perms::owner_read);
  {
    faults::Unprivileged as;  // root writes anywhere: act as another user
    ASSERT_TRUE(as.active());
    EXPECT_THROW(saveCommentary(path, {"lost"}), IoError);
  }
  fs::permissions(dir, fs::perms::owner_all);
  fs::permissions(path, fs::perms::owner_all);
  EXPECT_EQ(slurp(path), "one\ntwo\n");
  fs::remove_all(dir);
}

// Texts written in a Windows code page before UTF-8 keep their bytes.
TEST(Commentary, EncodingKeepsTheBytes) {
  const std::string cp1251 = "\xcf\xf0\xe8\xe2\xe5\xf2 \x98 \xb9\r\n";  // "Привет", the unassigned byte, "№"
  ASSERT_EQ(detectEncoding(cp1251), TextEncoding::Windows1251);
  const std::string utf8 = decodeText(cp1251, TextEncoding::Windows1251);
  EXPECT_EQ(utf8.substr(0, 12), "\u041f\u0440\u0438\u0432\u0435\u0442");
  EXPECT_EQ(encodeText(utf8, TextEncoding::Windows1251), cp1251);
  EXPECT_EQ(detectEncoding(utf8), TextEncoding::Utf8);
  EXPECT_EQ(detectEncoding("plain"), TextEncoding::Utf8);
  // Truncated, overlong and surrogate forms are not UTF-8.
  for (const char* bad : {"\xd0", "\xc0\xaf", "\xed\xa0\x80", "\xf4\x90\x80\x80"})
    EXPECT_EQ(detectEncoding(bad), TextEncoding::Windows1251) << bad;
  // A character the code page lacks cannot be written in it.
  EXPECT_FALSE(encodeText("\u4e2d", TextEncoding::Windows1251).has_value());
}

// What a text box splits into paragraphs goes back between the same bytes;
// a file that cannot be shown is refused with the reason, never read half.
TEST(Commentary, ParagraphsAndRefusals) {
  const std::string text = "a\rb\nc\r\nd\xE2\x80\xA9" "e\xEF\xB7\x90" "f\xE2\x80\xA8g";
  const CommentaryParagraphs p = splitParagraphs(text);
  EXPECT_EQ(p.paragraphs, (std::vector<std::string>{"a", "b", "c", "d", "e", "f\xE2\x80\xA8g"}));
  EXPECT_EQ(joinParagraphs(p.paragraphs, p.separators), text);
  EXPECT_EQ(joinParagraphs({"x", "y", "z"}, {"\n"}), "x\ny\r\nz");

  const fs::path dir = fs::temp_directory_path() / ("zentrova_refuse_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  EXPECT_EQ(readCommentary((dir / "none.txt").string()).state, CommentaryRead::State::Missing);
  std::ofstream(dir / "big.txt", std::ios::binary) << std::string(3 << 20, 'x');
  const CommentaryRead big = readCommentary((dir / "big.txt").string(), 1 << 20);
  EXPECT_EQ(big.state, CommentaryRead::State::Refused);
  EXPECT_NE(big.why.find("is 3 MB, more than the 1 MB"), std::string::npos) << big.why;
  EXPECT_EQ(readCommentary((dir / "big.txt").string(), 4 << 20).bytes.size(), std::size_t(3) << 20);
  const CommentaryRead folder = readCommentary(dir.string());
  EXPECT_EQ(folder.state, CommentaryRead::State::Refused);
  EXPECT_NE(folder.why.find("not a regular file"), std::string::npos);
  fs::remove_all(dir);
}
