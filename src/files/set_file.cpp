#include "files/set_file.h"

namespace zentrova {

void readRecordAndClose(InFile& file, ParticleRecord& record) {
  // Read into a scratch copy so a short file leaves the buffer as it was.
  ParticleRecord scratch = record;
  file.readExact(scratch.bytes.data(), ParticleRecord::kSize);
  file.close();
  record = scratch;
}

void readSetFile(const std::string& path, ParticleRecord& record) {
  InFile file;
  file.open(path);
  readRecordAndClose(file, record);
}

void writeSetFile(const std::string& path, const ParticleRecord& record) {
  writeFileReplacing(path, record.bytes.data(), record.bytes.size());
}

void saveSet(const ParticleSet& set, ParticleRecord& record, const std::string& path) {
  snapshotSetIntoRecord(set, record);
  writeSetFile(path, record);
}

}  // namespace zentrova
