// zentrova-sim convert: a set from any readable format into the format the
// output's extension names.
#include "files/file_formats.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_output.h"
#include "state/particle_record.h"

namespace zentrova {

int cmdConvert(const ConvertOptions& o) {
  const FileFormat* to = formatOfPath(o.out);
  if (!to || !to->writeSet) throw AppError(o.out + ": not a .lis1 or .xyz file name");
  refuseSameFile({{"IN", o.in}, {"OUT", o.out}});
  ParticleRecord record{};
  ParticleSet set;
  loadInputSet(o.in, record, set, settingNames(o.settings));
  applySettings(o.settings, set);
  reportNonFinite(o.in, set);
  checkOutput(o.out);
  try {
    to->writeSet(o.out, set, record, o.startStep, o.taoscope);
  } catch (const IoError& e) {
    failFor(o.out, e);
  }
  return 0;
}

}  // namespace zentrova
