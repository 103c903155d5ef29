#include "sim_params.h"

#include "state/errors.h"
#include "state/number_text.h"

namespace zentrova {

Setting parseSetting(const std::string& text) {
  const auto eq = text.find('=');
  const std::string name = text.substr(0, eq);
  if (eq == std::string::npos)
    throw AppError("--set '" + text + "' is not NAME=VALUE");
  for (const NamedParameter& p : namedParameters()) {
    if (name != p.name) continue;
    try {
      return {p.field, parseReal(text.substr(eq + 1), '.')};
    } catch (const ConvertError& e) {
      throw AppError("--set " + name + ": " + e.what());
    }
  }
  throw AppError("--set: unknown parameter '" + name + "' (one of dt, A1, B1, A2, B2, C2, D2, A3, B3, C3, D3)");
}

std::vector<std::string> settingNames(const std::vector<Setting>& settings) {
  std::vector<std::string> names;
  for (const Setting& s : settings)
    for (const NamedParameter& p : namedParameters())
      if (p.field == s.field) names.push_back(p.name);
  return names;
}

std::vector<std::string> allParameterNames() {
  std::vector<std::string> names;
  for (const NamedParameter& p : namedParameters()) names.push_back(p.name);
  return names;
}

void applySettings(const std::vector<Setting>& settings, ParticleSet& set) {
  for (const Setting& s : settings) set.*s.field = s.value;
}

}  // namespace zentrova
