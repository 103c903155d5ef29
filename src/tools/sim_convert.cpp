// zentrova-sim convert: a set between .lis1 and extended XYZ, by extension.
#include <algorithm>
#include <cctype>

#include "files/file_io.h"
#include "files/set_file.h"
#include "files/xyz.h"
#include "sim_commands.h"
#include "sim_input.h"
#include "sim_output.h"
#include "sim_params.h"
#include "state/named_parameters.h"
#include "state/particle_record.h"

namespace zentrova {

namespace {

enum class Format { Lis1, Xyz };

Format formatOf(const std::string& path) {
  const auto dot = path.rfind('.');
  std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  if (ext == "lis1") return Format::Lis1;
  if (ext == "xyz" || ext == "extxyz") return Format::Xyz;
  throw AppError(path + ": not a .lis1 or .xyz file name");
}

// The last frame of a trajectory; the frames before it are read and checked.
// What the frame lacks must come from --set.
void readLastFrame(const std::string& path, const std::vector<Setting>& settings, ParticleSet& set) {
  std::string text;
  try {
    text = readXyzText(path);
  } catch (const AppError& e) {
    failFor(path, e);
  }
  std::vector<std::string> given;
  for (const Setting& s : settings)
    for (const NamedParameter& p : namedParameters())
      if (p.field == s.field) given.push_back(p.name);
  std::size_t pos = 0, line = 0;
  XyzFrame frame, last;
  bool any = false;
  try {
    while (readXyzFrame(text, pos, line, frame)) last = std::move(frame), any = true;
    if (!any) throw AppError("no frame");
    applyXyzFrame(last, set, given, "give each with --set NAME=VALUE");
  } catch (const AppError& e) {
    failFor(path, e);
  }
}

}  // namespace

int cmdConvert(const ConvertOptions& o) {
  const Format from = formatOf(o.in), to = formatOf(o.out);
  refuseSameFile({{"IN", o.in}, {"OUT", o.out}});
  ParticleRecord record{};
  ParticleSet set;
  set.Count = kMaxParticles;
  if (from == Format::Lis1)
    loadInputSet(o.in, record, set);
  else
    readLastFrame(o.in, o.settings, set);
  applySettings(o.settings, set);
  reportNonFinite(o.in, set);
  checkOutput(o.out);
  try {
    if (to == Format::Lis1) {
      saveSet(set, record, o.out);
    } else {
      const std::string text = formatXyzFrame(set, o.startStep, o.taoscope);
      writeFileReplacing(o.out, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    }
  } catch (const IoError& e) {
    failFor(o.out, e);
  }
  return 0;
}

}  // namespace zentrova
