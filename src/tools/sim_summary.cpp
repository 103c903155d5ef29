// zentrova-sim run --summary: one JSON object on one line.
#include <cmath>
#include <cstdio>
#include <string>

#include "analysis/observable_table.h"
#include "sim_commands.h"

namespace zentrova {

namespace {

// JSON has no infinity or NaN: such a value is written as null.
std::string number(Real v) {
  if (!std::isfinite(v)) return "null";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.21Lg", v);
  return buf;
}

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

const char* flag(bool on) { return on ? "true" : "false"; }

}  // namespace

void printRunSummary(const RunReport& r) {
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
  j += ",\"fault\":" + (r.fault ? quoted(*r.fault) : "null");
  j += ",\"fault_step\":" + (r.fault ? std::to_string(r.steps + 1) : "null");
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.6f", r.seconds);
  j += std::string(",\"seconds\":") + seconds;
  const Observables o = observe(s, r.controls);
  for (const ObservableColumn& col : observableTable())
    j += ",\"" + std::string(col.name) + "\":" + observableJson(col, o);
  j += "}\n";
  std::fputs(j.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace zentrova
