// zentrova-sim run --summary: one JSON object on one line.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <string>

#include "analysis/conservation.h"
#include "analysis/observable_table.h"
#include "sim_commands.h"
#include "state/number_text.h"

namespace zentrova {

namespace {

// JSON has no infinity or NaN: such a value is written as null.
std::string number(Real v) { return std::isfinite(v) ? machineReal(v) : "null"; }

// The length of the well-formed UTF-8 sequence at s[i], or 0.
std::size_t utf8Length(const std::string& s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  const std::size_t n = c < 0x80 ? 1 : c >= 0xc2 && c <= 0xdf ? 2 : c >= 0xe0 && c <= 0xef ? 3 : c >= 0xf0 && c <= 0xf4 ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (std::size_t k = 1; k < n; ++k)
    if ((byte(i + k) & 0xc0) != 0x80) return 0;
  // No overlong forms, surrogates or code points beyond U+10FFFF.
  if ((c == 0xe0 && byte(i + 1) < 0xa0) || (c == 0xed && byte(i + 1) > 0x9f) || (c == 0xf0 && byte(i + 1) < 0x90) ||
      (c == 0xf4 && byte(i + 1) > 0x8f))
    return 0;
  return n;
}

// JSON is UTF-8: a byte of a name that is not (a file name may hold any)
// is written as the lone surrogate U+DC00 + byte, which Python's json and
// os.fsencode turn back into that byte.
std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t n = utf8Length(s, i);
    char buf[8];
    if (n == 0) {
      std::snprintf(buf, sizeof buf, "\\u%04x", 0xdc00 + c);
      out += buf;
      ++i;
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out.append(s, i, n);
    }
    i += n;
  }
  return out + "\"";
}

const char* flag(bool on) { return on ? "true" : "false"; }

}  // namespace

namespace {

// The measures of the final state, as observe names them.
std::string observablesJson(const ParticleSet& s, const StepControls& controls, Real work) {
  std::string j;
  Observables o = observe(s, controls);
  o.work = work;
  for (const ObservableColumn& col : observableTable())
    j += ",\"" + std::string(col.name) + "\":" + observableJson(col, o);
  return j;
}

// How well the run kept its energy, and whether dt resolved its closest
// encounters.
std::string energyJson(const RunReport& r) {
  if (!r.energy) return "";
  const EnergyRecord& e = *r.energy;
  std::string j = ",\"energy_sampled_every\":" + std::to_string(r.energyEvery) +
                  ",\"energy_samples\":" + std::to_string(e.samples()) + ",\"energy_start\":" + number(e.start()) +
                  ",\"energy_max_error\":" + number(e.maxError()) +
                  ",\"energy_error_relative\":" + number(e.relativeError()) +
                  ",\"energy_drift\":" + number(e.drift());
  j += ",\"reasons\":[";
  const std::vector<std::string> reasons = conservationReasonTexts(conservationReasons(*r.set, r.controls));
  for (std::size_t n = 0; n < reasons.size(); ++n) j += (n ? "," : "") + quoted(reasons[n]);
  j += "],\"step_ratio_max\":" + number(e.stepRatio());
  j += ",\"step_warning\":";
  if (e.stepRatio() > kStepWarningRatio) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "a step moved a particle %.3g of the closest pair's distance (above %.3g): dt may not resolve "
                  "close encounters",
                  double(e.stepRatio()), double(kStepWarningRatio));
    j += quoted(text);
  } else {
    j += "null";
  }
  return j;
}

std::string orNull(const std::optional<std::string>& s) { return s ? quoted(*s) : "null"; }

std::string provenanceJson(const RunReport& r) {
  const Provenance& p = r.provenance;
  std::string j = ",\"program\":\"zentrova-sim\",\"version\":" + quoted(ZENTROVA_VERSION) + ",\"command\":[";
  for (std::size_t n = 0; n < p.command.size(); ++n) j += (n ? "," : "") + quoted(p.command[n]);
  j += "],\"input_sha256\":" + quoted(p.inputSha256) + ",\"started\":" + quoted(p.started) +
       ",\"finished\":" + quoted(p.finished) + ",\"host\":" + quoted(p.host) +
       ",\"threads\":" + std::to_string(p.threads) + ",\"start_step\":" + std::to_string(p.startStep);
  j += ",\"interrupted\":" + orNull(r.interrupted) + ",\"output_error\":" + orNull(r.outputError) + ",\"nonfinite\":[";
  for (std::size_t n = 0; n < r.nonfinite.size(); ++n) j += (n ? "," : "") + std::to_string(r.nonfinite[n]);
  return j + "]";
}

}  // namespace

std::string runSummaryJson(const RunReport& r) {
  const ParticleSet& s = *r.set;
  std::string j = "{\"input\":" + quoted(r.input) + ",\"params\":{";
  bool first = true;
  for (const NamedParameter& p : namedParameters()) {
    if (!first) j += ",";
    first = false;
    j += "\"" + std::string(p.name) + "\":" + number(s.*p.field);
  }
  const StepControls& c = r.controls;
  j += std::string("},\"switches\":{\"taoscope\":") + flag(c.forces.taoscope) + ",\"cool\":" + flag(c.cool) +
       ",\"blockade\":" + flag(c.blockade) + ",\"pe_out\":" + flag(c.forces.peOut) +
       ",\"pes1_out\":" + flag(c.forces.pes1Out) + ",\"pes2_out\":" + flag(c.forces.pes2Out) + "}";
  j += ",\"steps\":" + std::to_string(r.steps);
  j += ",\"fault\":" + orNull(r.fault);
  // The step that faulted, counted as every output counts: from the start step.
  j += ",\"fault_step\":" + (r.fault ? std::to_string(std::int64_t(r.provenance.startStep) + r.steps + 1) : "null");
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.6f", r.seconds);
  j += std::string(",\"seconds\":") + seconds;
  j += observablesJson(s, r.controls, r.work);
  j += std::string(",\"integrator\":") + (c.verlet ? "\"verlet\"" : "\"euler\"");
  j += energyJson(r);
  j += provenanceJson(r);
  return j + "}\n";
}

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm t{};
  gmtime_r(&now, &t);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &t);
  return buf;
}

}  // namespace zentrova
