#include "sim_checkpoint.h"

#include <charconv>
#include <string_view>

#include "files/file_io.h"
#include "sha256.h"
#include "sim_input.h"
#include "state/errors.h"
#include "state/extended.h"
#include "state/named_parameters.h"
#include "state/number_text.h"

namespace zentrova {

namespace {

constexpr const char* kMagic = "zentrova-sim checkpoint 1";
constexpr const char* kHex = "0123456789abcdef";

// A path stays on its line: '%', control bytes and DEL as %XX.
std::string escaped(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == '%' || c < 0x20 || c == 0x7f)
      out += '%', out += kHex[c >> 4], out += kHex[c & 15];
    else
      out += char(c);
  }
  return out;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string unescaped(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') {
      out += s[i];
      continue;
    }
    if (i + 2 >= s.size() || hexDigit(s[i + 1]) < 0 || hexDigit(s[i + 2]) < 0) throw AppError("a bad %XX in a path");
    out += char(hexDigit(s[i + 1]) * 16 + hexDigit(s[i + 2]));
    i += 2;
  }
  return out;
}

struct Switch {
  const char* name;
  bool StepControls::*control = nullptr;
  bool ForceSwitches::*force = nullptr;
};
constexpr Switch kSwitches[] = {{"taoscope", nullptr, &ForceSwitches::taoscope},
                                {"cool", &StepControls::cool, nullptr},
                                {"blockade", &StepControls::blockade, nullptr},
                                {"pe_out", nullptr, &ForceSwitches::peOut},
                                {"pes1_out", nullptr, &ForceSwitches::pes1Out},
                                {"pes2_out", nullptr, &ForceSwitches::pes2Out},
                                {"verlet", &StepControls::verlet, nullptr}};

bool& switchOf(StepControls& c, const Switch& s) { return s.control ? c.*s.control : c.forces.*s.force; }

std::int64_t integer(std::string_view v, const std::string& key) {
  std::int64_t n = 0;
  const auto r = std::from_chars(v.data(), v.data() + v.size(), n);
  if (r.ec != std::errc() || r.ptr != v.data() + v.size()) throw AppError(key + " '" + std::string(v) + "' is not a number");
  return n;
}

}  // namespace

std::string formatCheckpoint(const Checkpoint& c) {
  std::string t = std::string(kMagic) + "\n";
  t += "step " + std::to_string(c.step) + "\n";
  t += "start_step " + std::to_string(c.startStep) + "\n";
  t += "steps " + std::to_string(c.steps) + "\n";
  t += "every " + std::to_string(c.every) + "\n";
  t += "input_sha256 " + c.inputSha256 + "\n";
  StepControls controls = c.controls;
  for (const Switch& s : kSwitches) t += std::string(s.name) + " " + (switchOf(controls, s) ? "1" : "0") + "\n";
  // For people reading it; the record holds the same values exactly.
  ParticleSet set;
  loadRecordIntoSet(c.record, set);
  for (const NamedParameter& p : namedParameters()) t += "param " + std::string(p.name) + " " + machineReal(set.*p.field) + "\n";
  for (const CheckpointTrajectory& tr : c.trajectories)
    t += "trajectory " + tr.format + " " + std::to_string(tr.length) + " " + escaped(tr.path) + "\n";
  t += "record ";
  for (std::uint8_t b : c.record.bytes) t += kHex[b >> 4], t += kHex[b & 15];
  t += "\n";
  t += "status " + (c.finished ? std::to_string(*c.finished) : std::string("running")) + "\n";
  if (!c.summary.empty()) t += "summary " + c.summary + "\n";
  return t + "sha256 " + sha256Of(t) + "\n";
}

Checkpoint parseCheckpoint(const std::string& text) {
  if (text.rfind(std::string(kMagic) + "\n", 0) != 0) throw AppError("not a zentrova-sim checkpoint");
  // The last line: "sha256 " and 64 hex digits of everything before it.
  constexpr std::size_t kSumLine = 7 + 64 + 1;
  const std::size_t sumAt = text.size() - kSumLine;
  if (text.size() < kSumLine + std::string(kMagic).size() + 1 || text.compare(sumAt, 7, "sha256 ") != 0 ||
      text.back() != '\n' || text.compare(sumAt + 7, 64, sha256Of(text.substr(0, sumAt))) != 0)
    throw AppError("the checkpoint is damaged: its checksum does not match");
  Checkpoint c;
  bool haveRecord = false, haveStatus = false;
  std::size_t pos = std::string(kMagic).size() + 1;
  while (pos < sumAt) {
    const std::size_t end = text.find('\n', pos);
    const std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    const auto space = line.find(' ');
    const std::string key(line.substr(0, space));
    const std::string_view v = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
    if (key == "step") c.step = integer(v, key);
    else if (key == "start_step") c.startStep = integer(v, key);
    else if (key == "steps") c.steps = integer(v, key);
    else if (key == "every") c.every = integer(v, key);
    else if (key == "input_sha256") c.inputSha256 = v;
    else if (key == "param") continue;
    else if (key == "trajectory") {
      const auto a = v.find(' '), b = a == std::string_view::npos ? a : v.find(' ', a + 1);
      if (b == std::string_view::npos) throw AppError("a trajectory line without format, length and path");
      const std::int64_t length = integer(v.substr(a + 1, b - a - 1), key);
      if (length < 0) throw AppError("a trajectory of negative length");
      c.trajectories.push_back({std::string(v.substr(0, a)), unescaped(v.substr(b + 1)), std::uint64_t(length)});
    } else if (key == "record") {
      if (v.size() != 2 * ParticleRecord::kSize) throw AppError("the record is not 3784 bytes");
      for (std::size_t i = 0; i < ParticleRecord::kSize; ++i) {
        const int hi = hexDigit(v[2 * i]), lo = hexDigit(v[2 * i + 1]);
        if (hi < 0 || lo < 0) throw AppError("the record is not hex digits");
        c.record.bytes[i] = std::uint8_t(hi * 16 + lo);
      }
      haveRecord = true;
    } else if (key == "status") {
      if (v != "running") c.finished = int(integer(v, key));
      haveStatus = true;
    } else if (key == "summary") {
      c.summary = v;
    } else {
      bool known = false;
      for (const Switch& s : kSwitches)
        if (key == s.name) switchOf(c.controls, s) = v == "1", known = true;
      if (!known) throw AppError("an unknown line '" + key + "'");
    }
  }
  if (!haveRecord || !haveStatus) throw AppError("the checkpoint has no record or no status");
  return c;
}

Checkpoint readCheckpoint(const std::string& path) {
  InFile file;
  file.open(path);
  const std::vector<std::uint8_t> bytes = file.readAll(std::size_t(1) << 20);
  file.close();
  return parseCheckpoint(std::string(bytes.begin(), bytes.end()));
}

void writeCheckpoint(const std::string& path, const std::string& text, const std::string& previous) {
  const auto write = [](const std::string& p, const std::string& t) {
    try {
      writeFileReplacing(p, reinterpret_cast<const std::uint8_t*>(t.data()), t.size());
    } catch (const IoError& e) {
      failFor(p, e);
    }
  };
  if (!previous.empty()) write(path + ".prev", previous);
  write(path, text);
}

}  // namespace zentrova
