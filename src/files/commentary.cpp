#include "files/commentary.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "files/file_io.h"
#include "files/io_error.h"

namespace zentrova {

std::string commentaryPath(const std::string& setFileName) {
  std::string base = setFileName;
  if (base.size() >= 4) base.erase(base.size() - 4);
  return base + ".txt";
}

std::string toCrLf(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> loadCommentary(const std::string& path) {
  InFile file;
  if (!file.tryOpen(path)) return std::nullopt;
  // A commentary larger than the limit is refused rather than cut short, so
  // that saving the memo later cannot shorten the file unnoticed.
  const std::vector<std::uint8_t> data = file.readAll(InFile::kReadAllLimit + 1);
  if (data.size() > InFile::kReadAllLimit) throwIo(EFBIG);
  file.close();
  return toCrLf(std::string(data.begin(), data.end()));
}

void saveCommentary(const std::string& path, const std::vector<std::string>& lines) {
  std::string data;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) data += "\r\n";
    data += lines[i];
  }
  writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
}

std::vector<std::string> commentaryLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += c;
    }
  }
  return lines;
}

}  // namespace zentrova

namespace zentrova {

namespace {

std::string sizeText(std::uint64_t bytes) {
  if (bytes >= (std::uint64_t(1) << 20)) return std::to_string((bytes + (1 << 19)) >> 20) + " MB";
  if (bytes >= 1024) return std::to_string((bytes + 512) >> 10) + " KB";
  return std::to_string(bytes) + " bytes";
}

CommentaryRead refused(const std::string& path, const std::string& why) {
  CommentaryRead r;
  r.state = CommentaryRead::State::Refused;
  r.why = "The commentary " + path + " " + why;
  return r;
}

}  // namespace

CommentaryRead readCommentary(const std::string& path, std::size_t limit) {
  // Non-blocking, so that opening a FIFO returns at once; fstat then tells
  // what the name is before a byte is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG) return {};
    return refused(path, std::string("cannot be read: ") + std::strerror(errno) + ".");
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) return refused(path, std::string("cannot be read: ") + std::strerror(errno) + ".");
  if (!S_ISREG(st.st_mode)) return refused(path, "is not a regular file.");
  if (std::uint64_t(st.st_size) > limit)
    return refused(path, "is " + sizeText(std::uint64_t(st.st_size)) + ", more than the " + sizeText(limit) +
                             " a commentary may have.");
  CommentaryRead r;
  r.bytes.resize(std::size_t(st.st_size));
  std::size_t got = 0;
  for (;;) {
    if (got == r.bytes.size()) {
      // The file may have grown since fstat: read on up to the limit.
      if (r.bytes.size() > limit) break;
      r.bytes.resize(std::max<std::size_t>(r.bytes.size() * 2, 4096));
    }
    const ssize_t n = ::read(fd, r.bytes.data() + got, r.bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return refused(path, std::string("cannot be read: ") + std::strerror(errno) + ".");
    if (n == 0) break;
    got += std::size_t(n);
  }
  if (got > limit)
    return refused(path, "is more than the " + sizeText(limit) + " a commentary may have.");
  r.bytes.resize(got);
  r.state = CommentaryRead::State::Loaded;
  return r;
}

void saveCommentaryBytes(const std::string& path, const std::string& bytes) {
  writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

CommentaryParagraphs splitParagraphs(const std::string& utf8) {
  CommentaryParagraphs p;
  p.paragraphs.emplace_back();
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t len = 0;
    const char c = utf8[i];
    if (c == '\r') {
      len = (i + 1 < utf8.size() && utf8[i + 1] == '\n') ? 2 : 1;
    } else if (c == '\n') {
      len = 1;
    } else if (utf8.compare(i, 3, "\xE2\x80\xA9") == 0 || utf8.compare(i, 3, "\xEF\xB7\x90") == 0 ||
               utf8.compare(i, 3, "\xEF\xB7\x91") == 0) {
      len = 3;
    }
    if (len == 0) {
      p.paragraphs.back() += c;
      ++i;
      continue;
    }
    p.separators.push_back(utf8.substr(i, len));
    p.paragraphs.emplace_back();
    i += len;
  }
  return p;
}

std::string joinParagraphs(const std::vector<std::string>& paragraphs, const std::vector<std::string>& separators) {
  std::string out;
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) out += i - 1 < separators.size() ? separators[i - 1] : std::string("\r\n");
    out += paragraphs[i];
  }
  return out;
}

}  // namespace zentrova
