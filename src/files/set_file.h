#pragma once
#include <string>

#include "files/file_io.h"
#include "state/particle_record.h"

namespace zentrova {

// Reads the first record of an opened .lis1 file and closes it (checked
// steps): fewer than 3784 bytes is "Read beyond end of file".
void readRecordAndClose(InFile& file, ParticleRecord& record);

// Checked read of a whole set file: open, read one record, close.
void readSetFile(const std::string& path, ParticleRecord& record);

// Writes the record as the whole file (exactly 3784 bytes), replacing any
// previous file only once every byte is on disk.
void writeSetFile(const std::string& path, const ParticleRecord& record);

// snapshotSetIntoRecord followed by writeSetFile: how every command saves.
void saveSet(const ParticleSet& set, ParticleRecord& record, const std::string& path);

}  // namespace zentrova
