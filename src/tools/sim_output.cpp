#include "sim_output.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <filesystem>

#include "files/io_error.h"
#include "sim_input.h"

namespace zentrova {

StreamOutput StreamOutput::file(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) failFor(path, IoError(ioMessage(errno)));
  return StreamOutput(path, f, true);
}

StreamOutput StreamOutput::standardOutput() { return StreamOutput("standard output", stdout, false); }

StreamOutput::StreamOutput(StreamOutput&& o) noexcept
    : name_(std::move(o.name_)), file_(o.file_), own_(o.own_), error_(std::move(o.error_)) {
  o.file_ = nullptr;
}

StreamOutput::~StreamOutput() {
  if (file_ && own_) std::fclose(file_);
}

void StreamOutput::fail(int err) {
  error_ = name_ + ": " + ioMessage(err ? err : EIO);
  std::fprintf(stderr, "zentrova-sim: %s\n", error_->c_str());
}

bool StreamOutput::write(const std::string& text) {
  if (error_ || !file_) return false;
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size() || std::fflush(file_) != 0) {
    fail(errno);
    return false;
  }
  return true;
}

bool StreamOutput::finish() {
  if (!file_) return !error_;
  errno = 0;
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  int err = errno;
  if (own_) {
    if (std::fclose(file_) != 0 && ok) ok = false, err = errno;
  }
  file_ = nullptr;
  if (!ok && !error_) fail(err);
  return !error_;
}

void writeStandardOutput(const std::string& text) {
  errno = 0;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    throw IoError("standard output: " + ioMessage(errno ? errno : EIO));
}

void finishStandardOutput() {
  errno = 0;
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    throw IoError("standard output: " + ioMessage(errno ? errno : EIO));
}

void refuseSameFile(const std::vector<NamedFile>& files) {
  namespace fs = std::filesystem;
  auto same = [](const std::string& a, const std::string& b) {
    struct stat sa, sb;
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
      return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    std::error_code ea, eb;
    const fs::path pa = fs::weakly_canonical(a, ea), pb = fs::weakly_canonical(b, eb);
    return !ea && !eb && pa == pb;
  };
  for (std::size_t i = 0; i < files.size(); ++i)
    for (std::size_t k = i + 1; k < files.size(); ++k)
      if (same(files[i].path, files[k].path))
        throw AppError(files[k].path + ": " + files[i].option + " and " + files[k].option + " name the same file");
}

std::vector<int> reportNonFinite(const std::string& in, const ParticleSet& s) {
  std::vector<int> found;
  for (int i = 1; i <= kMaxParticles; ++i) {
    if (!s.present(i)) continue;
    const int a = i - 1;
    for (Real v : {s.X[a], s.Y[a], s.Z[a], s.Ux[a], s.Uy[a], s.Uz[a]})
      if (!std::isfinite(v)) {
        found.push_back(i);
        std::fprintf(stderr, "zentrova-sim: %s: particle %d has a non-finite value\n", in.c_str(), i);
        break;
      }
  }
  return found;
}

}  // namespace zentrova
