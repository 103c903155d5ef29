#include "files/xyz.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <limits>

#include "files/io_error.h"
#include "state/errors.h"
#include "state/named_parameters.h"
#include "state/number_text.h"

namespace zentrova {

namespace {

const char* groupName(Group g) {
  switch (g) {
    case Group::PE:
      return "PE";
    case Group::PES1:
      return "PES1";
    case Group::PES2:
      break;
  }
  return "PES2";
}

[[noreturn]] void bad(std::size_t line, const std::string& what) {
  throw AppError("line " + std::to_string(line) + ": " + what);
}

bool readReal(std::string_view t, Real& out) { return readMachineReal(t, out); }

bool readInt(std::string_view t, long long& out) {
  std::int64_t v = 0;
  if (!readMachineInt(t, v)) return false;
  out = v;
  return true;
}

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r')) ++i;
    const std::size_t from = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t' && s[i] != '\r') ++i;
    if (i > from) out.push_back(s.substr(from, i - from));
  }
  return out;
}

// key=value pairs; a value may be "quoted" and then holds blanks. A bare
// key means true, as other writers use it.
std::vector<std::pair<std::string, std::string>> commentPairs(std::string_view s, std::size_t line) {
  std::vector<std::pair<std::string, std::string>> out;
  std::size_t i = 0;
  auto blank = [&](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (true) {
    while (i < s.size() && blank(s[i])) ++i;
    if (i == s.size()) return out;
    const std::size_t from = i;
    while (i < s.size() && !blank(s[i]) && s[i] != '=') ++i;
    std::string key(s.substr(from, i - from));
    if (i == s.size() || s[i] != '=') {
      out.emplace_back(key, "T");
      continue;
    }
    ++i;
    std::string value;
    if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
      const char q = s[i++];
      const std::size_t end = s.find(q, i);
      if (end == std::string_view::npos) bad(line, "unclosed quote in the comment line");
      value = std::string(s.substr(i, end - i));
      i = end + 1;
    } else {
      const std::size_t start = i;
      while (i < s.size() && !blank(s[i])) ++i;
      value = std::string(s.substr(start, i - start));
    }
    out.emplace_back(key, value);
  }
}

struct Columns {
  int width = 0;                       // words a line
  int pos = -1, velo = -1, id = -1;    // first word of each, or -1
};

Columns columnsOf(const std::string* properties, std::size_t line) {
  Columns c;
  const std::string layout = properties ? *properties : "species:S:1:pos:R:3";
  std::vector<std::string> parts;
  for (std::size_t from = 0;;) {
    const std::size_t at = layout.find(':', from);
    parts.push_back(layout.substr(from, at - from));
    if (at == std::string::npos) break;
    from = at + 1;
  }
  if (parts.size() % 3 != 0) bad(line, "Properties is not NAME:TYPE:COUNT ...");
  for (std::size_t n = 0; n < parts.size(); n += 3) {
    long long count = 0;
    if (!readInt(parts[n + 2], count) || count < 1 || count > 64) bad(line, "Properties has a bad count");
    const std::string& name = parts[n];
    if (name == "pos" && count == 3) c.pos = c.width;
    else if ((name == "velo" || name == "momenta") && count == 3) c.velo = c.width;  // unit masses
    else if (name == "id" && count == 1) c.id = c.width;
    c.width += int(count);
  }
  if (c.pos < 0) bad(line, "the frame has no positions (pos:R:3)");
  return c;
}

std::string_view nextLine(std::string_view text, std::size_t& pos) {
  const std::size_t end = text.find('\n', pos);
  const std::string_view l = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
  pos = end == std::string_view::npos ? text.size() : end + 1;
  return l;
}

}  // namespace

const char* xyzSpecies(Group group) {
  switch (group) {
    case Group::PE:
      return "C";
    case Group::PES1:
      return "N";
    case Group::PES2:
      break;
  }
  return "O";
}

std::string formatXyzFrame(const ParticleSet& set, std::int64_t step, bool taoscope) {
  int count = 0;
  for (int i = 1; i <= kMaxParticles; ++i) count += set.present(i);
  std::string t = std::to_string(count) +
                  "\nProperties=species:S:1:pos:R:3:velo:R:3:id:I:1:group:S:1 step=" + std::to_string(step) +
                  " time=" + machineReal(Real(step) * set.Dt);
  for (const NamedParameter& p : namedParameters()) t += std::string(" ") + p.name + "=" + machineReal(set.*p.field);
  t += std::string(" mode=") + (taoscope ? "taoscope" : "gravoscope") + " pbc=\"F F F\"\n";
  for (int i = 1; i <= kMaxParticles; ++i) {
    if (!set.present(i)) continue;
    const int a = i - 1;
    const Group g = groupOf(i, kMaxParticles);
    t += xyzSpecies(g);
    for (const Real v : {set.X[a], set.Y[a], set.Z[a], set.Ux[a], set.Uy[a], set.Uz[a]}) t += " " + machineReal(v);
    t += " " + std::to_string(i) + " " + groupName(g) + "\n";
  }
  return t;
}

const std::string* XyzFrame::value(const std::string& key) const {
  for (const auto& [k, v] : info)
    if (k == key) return &v;
  return nullptr;
}

bool readXyzFrame(std::string_view text, std::size_t& pos, std::size_t& line, XyzFrame& frame) {
  std::string_view first;
  do {
    if (pos >= text.size()) return false;
    first = nextLine(text, pos);
    ++line;
  } while (words(first).empty());
  const auto countWords = words(first);
  long long count = 0;
  if (countWords.size() != 1 || !readInt(countWords[0], count) || count < 0)
    bad(line, "a frame must start with the count of its particles");
  if (count > kMaxParticles) bad(line, "a frame of more than 60 particles");
  if (pos >= text.size()) bad(line, "the frame has no comment line");
  ++line;
  frame = XyzFrame{};
  frame.info = commentPairs(nextLine(text, pos), line);
  const Columns c = columnsOf(frame.value("Properties"), line);
  for (long long n = 0; n < count; ++n) {
    if (pos >= text.size()) bad(line, "the frame ends after " + std::to_string(n) + " of its particles");
    ++line;
    const auto w = words(nextLine(text, pos));
    if (int(w.size()) != c.width) bad(line, "expected " + std::to_string(c.width) + " columns");
    XyzAtom atom;
    for (int k = 0; k < 3; ++k) {
      if (!readReal(w[c.pos + k], atom.pos[k])) bad(line, "'" + std::string(w[c.pos + k]) + "' is not a number");
      if (c.velo >= 0 && !readReal(w[c.velo + k], atom.velo[k]))
        bad(line, "'" + std::string(w[c.velo + k]) + "' is not a number");
    }
    if (c.id >= 0) {
      long long id = 0;
      if (!readInt(w[c.id], id) || id < 1 || id > kMaxParticles)
        bad(line, "particle number '" + std::string(w[c.id]) + "' is not from 1 to 60");
      atom.id = int(id);
    }
    frame.atoms.push_back(atom);
  }
  return true;
}

std::vector<XyzFrame> parseXyz(std::string_view text) {
  std::vector<XyzFrame> frames;
  std::size_t pos = 0, line = 0;
  XyzFrame f;
  while (readXyzFrame(text, pos, line, f)) frames.push_back(std::move(f));
  return frames;
}

void applyXyzFrame(const XyzFrame& frame, ParticleSet& set) {
  ParticleSet s = set;
  s.Present.fill(0);
  for (RealSlots* a : {&s.X, &s.Y, &s.Z, &s.Ux, &s.Uy, &s.Uz}) a->fill(0);
  int next = 1;
  for (const XyzAtom& atom : frame.atoms) {
    const int i = atom.id ? atom.id : next++;
    if (i > kMaxParticles) throw AppError("more than 60 particles in a frame");
    if (s.present(i)) throw AppError("particle " + std::to_string(i) + " is given twice");
    const int a = i - 1;
    s.X[a] = atom.pos[0], s.Y[a] = atom.pos[1], s.Z[a] = atom.pos[2];
    s.Ux[a] = atom.velo[0], s.Uy[a] = atom.velo[1], s.Uz[a] = atom.velo[2];
    s.setPresent(i, true);
  }
  s.alignAll();
  for (const NamedParameter& p : namedParameters()) {
    const std::string* v = frame.value(p.name);
    if (v && !readReal(*v, s.*p.field)) throw AppError(std::string(p.name) + "='" + *v + "' is not a number");
  }
  if (const std::string* v = frame.value("step")) {
    long long step = 0;
    if (!readInt(*v, step)) throw AppError("step='" + *v + "' is not a step number");
    s.Time = std::int64_t(step);
  }
  set = s;
}

}  // namespace zentrova
