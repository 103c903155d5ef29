// zentrova-sim rdf: the pair distances of a set or a trajectory, per pair of
// groups, as CSV.
#include "analysis/rdf.h"
#include "files/file_formats.h"
#include "files/io_error.h"
#include "files/xyz.h"
#include "state/named_parameters.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_output.h"
#include "state/named_parameters.h"
#include "state/particle_record.h"

namespace zentrova {

int cmdRdf(const Options& o) {
  const std::string& in = *o.in;
  std::vector<GroupPair> pairs = o.pairs.empty() ? allGroupPairs() : o.pairs;
  std::optional<RadialDistribution> rdf;
  auto add = [&](const ParticleSet& frame) {
    if (!rdf) {
      const Real range = o.range ? *o.range : largestDistance(frame);
      if (!(range > 0)) throw AppError(in + ": the first frame has no two particles apart; give --range");
      rdf.emplace(o.bins, range, pairs);
    }
    rdf->add(frame);
  };
  std::string text;
  try {
    text = readXyzText(in);
  } catch (const IoError& e) {
    failFor(in, e);
  } catch (const AppError& e) {
    failFor(in, e);
  }
  const FileFormat* xyz = formatNamed("xyz");
  if (!xyz || !xyz->recognises(std::vector<std::uint8_t>(text.begin(), text.end()))) {
    ParticleRecord record{};
    ParticleSet set;
    loadInputSet(in, record, set);
    add(set);
  } else {
    std::size_t pos = 0, line = 0;
    XyzFrame frame;
    const std::vector<std::string> unused = allParameterNames();  // distances need neither dt nor parameters
    try {
      while (readXyzFrame(text, pos, line, frame)) {
        ParticleSet set;
        set.Count = kMaxParticles;
        applyXyzFrame(frame, set, unused);
        add(set);
      }
    } catch (const AppError& e) {
      failFor(in, e);
    }
    if (!rdf) failFor(in, AppError("no frame"));
  }
  StreamOutput out = StreamOutput::standardOutput();
  out.write(rdf->csv());
  return out.finish() ? 0 : 2;
}

}  // namespace zentrova
