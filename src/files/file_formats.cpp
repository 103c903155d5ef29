#include "files/file_formats.h"

#include <algorithm>
#include <cctype>
#include <string_view>

#include "files/csv_trajectory.h"
#include "files/file_io.h"
#include "files/io_error.h"
#include "files/set_file.h"
#include "files/xyz.h"

namespace zentrova {

namespace {

constexpr std::size_t kSetFileLimit = kMaxTextFileBytes;

bool isRecord(const std::vector<std::uint8_t>& bytes) { return bytes.size() == ParticleRecord::kSize; }

void readRecord(const std::vector<std::uint8_t>& bytes, ParticleRecord& record, ParticleSet& set,
                const std::vector<std::string>&) {
  if (bytes.size() < ParticleRecord::kSize) throw IoError(kMsgReadBeyondEnd);
  if (bytes.size() > ParticleRecord::kSize)
    throw AppError("not a set: " + std::to_string(bytes.size()) + " bytes where a .lis1 set has " +
                   std::to_string(ParticleRecord::kSize));
  std::copy(bytes.begin(), bytes.end(), record.bytes.begin());
  set.Count = kMaxParticles;
  loadRecordIntoSet(record, set);
}

void writeRecord(const std::string& path, const ParticleSet& set, ParticleRecord& record, std::int64_t, bool) {
  saveSet(set, record, path);
}

// Text whose first line that is not blank is a particle count alone.
bool isXyz(const std::vector<std::uint8_t>& bytes) {
  std::size_t i = 0;
  const auto blank = [&](std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (i < bytes.size() && (blank(bytes[i]) || bytes[i] == '\n')) ++i;
  const std::size_t digits = i;
  while (i < bytes.size() && std::isdigit(bytes[i])) ++i;
  if (i == digits) return false;
  while (i < bytes.size() && blank(bytes[i])) ++i;
  return i < bytes.size() && bytes[i] == '\n';
}

// The last frame; every frame before it is read and checked.
void readXyz(const std::vector<std::uint8_t>& bytes, ParticleRecord& record, ParticleSet& set,
             const std::vector<std::string>& given) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::size_t pos = 0, line = 0;
  XyzFrame frame, last;
  bool any = false;
  while (readXyzFrame(text, pos, line, frame)) last = std::move(frame), any = true;
  if (!any) throw AppError("no frame");
  set.Count = kMaxParticles;
  applyXyzFrame(last, set, given);
  snapshotSetIntoRecord(set, record);
}

void writeXyz(const std::string& path, const ParticleSet& set, ParticleRecord&, std::int64_t step, bool taoscope) {
  const std::string text = formatXyzFrame(set, step, taoscope);
  writeFileReplacing(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::string csvFrame(const ParticleSet& set, std::int64_t step, bool) { return formatCsvRecord(set, step); }

std::vector<FileFormat> makeFormats() {
  FileFormat lis1{"lis1", {"lis1"}, isRecord, readRecord};
  lis1.writeSet = writeRecord;
  FileFormat xyz{"xyz", {"xyz", "extxyz"}, isXyz, readXyz};
  xyz.frame = formatXyzFrame;
  xyz.writeSet = writeXyz;
  FileFormat csv{"csv", {"csv"}};
  csv.trajectoryHeader = kCsvTrajectoryHeader;
  csv.frame = csvFrame;
  return {lis1, csv, xyz};
}

}  // namespace

const std::vector<FileFormat>& fileFormats() {
  static const std::vector<FileFormat> formats = makeFormats();
  return formats;
}

const FileFormat* formatNamed(const std::string& name) {
  for (const FileFormat& f : fileFormats())
    if (name == f.name) return &f;
  return nullptr;
}

const FileFormat* formatOfPath(const std::string& path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return nullptr;
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  for (const FileFormat& f : fileFormats())
    for (const char* e : f.extensions)
      if (ext == e) return &f;
  return nullptr;
}

namespace {

std::vector<std::uint8_t> setFileBytes(const std::string& path) {
  InFile file;
  file.open(path);
  std::vector<std::uint8_t> bytes = file.readAll(kSetFileLimit);
  if (bytes.size() == kSetFileLimit) throw AppError("larger than 4 GiB");
  file.close();
  return bytes;
}

}  // namespace

void readSetAs(const FileFormat& f, const std::string& path, ParticleRecord& record, ParticleSet& set,
               const std::vector<std::string>& given) {
  f.readSet(setFileBytes(path), record, set, given);
}

void readSetByContent(const std::string& path, ParticleRecord& record, ParticleSet& set,
                      const std::vector<std::string>& given) {
  const std::vector<std::uint8_t> bytes = setFileBytes(path);
  // Text formats are tried first: a record hardly ever starts with a line
  // that holds a count alone, and one that does and fails as text is still
  // taken as the record it may be.
  const FileFormat& lis1 = *formatNamed("lis1");
  for (const FileFormat& f : fileFormats()) {
    if (&f == &lis1 || !f.readSet || !f.recognises || !f.recognises(bytes)) continue;
    try {
      f.readSet(bytes, record, set, given);
      return;
    } catch (const AppError&) {
      if (!lis1.recognises(bytes)) throw;
    }
  }
  lis1.readSet(bytes, record, set, given);
}

}  // namespace zentrova
