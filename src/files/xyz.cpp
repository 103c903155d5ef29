#include "files/xyz.h"

#include <cerrno>
#include <algorithm>
#include <charconv>
#include <limits>

#include "files/atomic_masses.h"
#include "files/file_io.h"
#include "files/io_error.h"
#include "state/named_parameters.h"
#include "state/number_text.h"

namespace zentrova {

namespace {

[[noreturn]] void bad(std::size_t line, const std::string& what) {
  if (line == 0) throw AppError(what);
  throw AppError("line " + std::to_string(line) + ": " + what);
}

// A real as --set reads it: finite and within the 80-bit range.
Real readReal(std::string_view t, std::size_t line) {
  try {
    return parseReal(std::string(t), '.');
  } catch (const ConvertError& e) {
    bad(line, e.what());
  }
}

bool readInt(std::string_view t, long long& out) {
  std::int64_t v = 0;
  if (!readMachineInt(t, v)) return false;
  out = v;
  return true;
}

bool blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> words(std::string_view s) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && blank(s[i])) ++i;
    const std::size_t from = i;
    while (i < s.size() && !blank(s[i])) ++i;
    if (i > from) out.push_back(s.substr(from, i - from));
  }
  return out;
}

// key=value pairs; a value may be "quoted" and then holds blanks. A bare
// key means true, as other writers use it.
std::vector<std::pair<std::string, std::string>> commentPairs(std::string_view s, std::size_t line) {
  std::vector<std::pair<std::string, std::string>> out;
  std::size_t i = 0;
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
  int width = 0;  // words a line
  // First word of each, or -1.
  int species = -1, pos = -1, velo = -1, momenta = -1, masses = -1, id = -1, group = -1;
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
    int* column = nullptr;
    if (count == 3) column = name == "pos" ? &c.pos : name == "velo" ? &c.velo : name == "momenta" ? &c.momenta : nullptr;
    else if (count == 1)
      column = name == "species" ? &c.species : name == "masses" ? &c.masses : name == "id" ? &c.id
             : name == "group" ? &c.group : nullptr;
    if (column) *column = c.width;
    c.width += int(count);
  }
  if (c.pos < 0) bad(line, "the frame has no positions (pos:R:3)");
  return c;
}

// A line, refused when it holds a control byte (tabs and the carriage
// return of a CRLF file are blanks).
std::string_view nextLine(std::string_view text, std::size_t& pos, std::size_t line) {
  const std::size_t end = text.find('\n', pos);
  const std::string_view l = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
  pos = end == std::string_view::npos ? text.size() : end + 1;
  for (const char ch : l) {
    const auto b = static_cast<unsigned char>(ch);
    if ((b < 0x20 && ch != '\t' && ch != '\r') || b == 0x7f) {
      static const char hex[] = "0123456789abcdef";
      bad(line, std::string("a control byte (0x") + hex[b >> 4] + hex[b & 15] + ")");
    }
  }
  return l;
}

// What the momenta of a line are divided by to give its velocities.
Real massOf(const std::vector<std::string_view>& w, const Columns& c, std::size_t line) {
  if (c.masses >= 0) {
    const Real m = readReal(w[c.masses], line);
    if (!(m > 0)) bad(line, "a mass of '" + std::string(w[c.masses]) + "': momenta need masses above 0");
    return m;
  }
  double m = 0;
  const std::string species = c.species >= 0 ? std::string(w[c.species]) : "";
  if (!speciesMass(species, m))
    bad(line, "momenta of species '" + species + "', which has no standard mass: add a masses:R:1 column");
  return m;
}

const char* expectedGroup(int i) { return groupName(groupOf(i, kMaxParticles)); }

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

// Unit masses, so the momenta ASE reads are the velocities and ASE's
// get_velocities returns them.
std::string formatXyzFrame(const ParticleSet& set, std::int64_t step, bool taoscope) {
  int count = 0;
  for (int i = 1; i <= kMaxParticles; ++i) count += set.present(i);
  std::string t = std::to_string(count) +
                  "\nProperties=species:S:1:pos:R:3:masses:R:1:momenta:R:3:id:I:1:group:S:1 step=" +
                  std::to_string(step) + " time=" + machineReal(Real(step) * set.Dt);
  for (const NamedParameter& p : namedParameters()) t += std::string(" ") + p.name + "=" + machineReal(set.*p.field);
  t += std::string(" mode=") + (taoscope ? "taoscope" : "gravoscope") + " pbc=\"F F F\"\n";
  for (int i = 1; i <= kMaxParticles; ++i) {
    if (!set.present(i)) continue;
    const int a = i - 1;
    const Group g = groupOf(i, kMaxParticles);
    t += xyzSpecies(g);
    for (const Real v : {set.X[a], set.Y[a], set.Z[a]}) t += " " + machineReal(v);
    t += " 1";
    for (const Real v : {set.Ux[a], set.Uy[a], set.Uz[a]}) t += " " + machineReal(v);
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
    first = nextLine(text, pos, ++line);
  } while (words(first).empty());
  const auto countWords = words(first);
  long long count = 0;
  if (countWords.size() != 1 || !readInt(countWords[0], count) || count < 0)
    bad(line, "a frame must start with the count of its particles");
  if (count > kMaxParticles) bad(line, "a frame of more than 60 particles");
  if (pos >= text.size()) bad(line, "the frame has no comment line");
  frame = XyzFrame{};
  frame.line = ++line;
  frame.info = commentPairs(nextLine(text, pos, line), line);
  const Columns c = columnsOf(frame.value("Properties"), line);
  for (long long n = 0; n < count; ++n) {
    if (pos >= text.size()) bad(line, "the frame ends after " + std::to_string(n) + " of its particles");
    const auto w = words(nextLine(text, pos, ++line));
    if (int(w.size()) != c.width) bad(line, "expected " + std::to_string(c.width) + " columns");
    XyzAtom atom;
    atom.line = line;
    for (int k = 0; k < 3; ++k) atom.pos[k] = readReal(w[c.pos + k], line);
    if (c.velo >= 0) {
      for (int k = 0; k < 3; ++k) atom.velo[k] = readReal(w[c.velo + k], line);
    } else if (c.momenta >= 0) {
      const Real m = massOf(w, c, line);
      for (int k = 0; k < 3; ++k) atom.velo[k] = readReal(w[c.momenta + k], line) / m;
    }
    if (c.id >= 0) {
      long long id = 0;
      if (!readInt(w[c.id], id) || id < 1 || id > kMaxParticles)
        bad(line, "particle number '" + std::string(w[c.id]) + "' is not from 1 to 60");
      atom.id = int(id);
    }
    if (c.group >= 0) atom.group = std::string(w[c.group]);
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

std::string readXyzText(const std::string& path) {
  InFile in;
  in.open(path);
  const std::vector<std::uint8_t> bytes = in.readAll(kMaxTextFileBytes);
  in.close();
  if (bytes.size() >= kMaxTextFileBytes) throw AppError("larger than 4 GiB");
  return std::string(bytes.begin(), bytes.end());
}

namespace {

std::string listed(const std::vector<std::string>& names) {
  std::string t;
  for (std::size_t n = 0; n < names.size(); ++n)
    t += (n == 0 ? "" : n + 1 == names.size() ? " and " : ", ") + names[n];
  return t;
}

}  // namespace

XyzMissingValues::XyzMissingValues(std::vector<std::string> missing)
    : AppError("the frame has no " + listed(missing)), names(std::move(missing)) {}

void applyXyzFrame(const XyzFrame& frame, ParticleSet& set, const std::vector<std::string>& given) {
  ParticleSet s = set;
  s.Present.fill(0);
  for (RealSlots* a : {&s.X, &s.Y, &s.Z, &s.Ux, &s.Uy, &s.Uz}) a->fill(0);
  int next = 1;
  for (const XyzAtom& atom : frame.atoms) {
    const int i = atom.id ? atom.id : next++;
    if (i < 1 || i > kMaxParticles) bad(atom.line, "more than 60 particles in a frame");
    if (s.present(i)) bad(atom.line, "particle " + std::to_string(i) + " is given twice");
    if (!atom.group.empty() && atom.group != expectedGroup(i))
      bad(atom.line, "group '" + atom.group + "' of particle " + std::to_string(i) + ", which is in " + expectedGroup(i));
    const int a = i - 1;
    s.X[a] = atom.pos[0], s.Y[a] = atom.pos[1], s.Z[a] = atom.pos[2];
    s.Ux[a] = atom.velo[0], s.Uy[a] = atom.velo[1], s.Uz[a] = atom.velo[2];
    s.setPresent(i, true);
  }
  s.alignAll();
  std::vector<std::string> missing;
  for (const NamedParameter& p : namedParameters()) {
    if (const std::string* v = frame.value(p.name)) {
      try {
        s.*p.field = parseReal(*v, '.');
      } catch (const ConvertError& e) {
        bad(frame.line, std::string(p.name) + ": " + e.what());
      }
    } else if (std::find(given.begin(), given.end(), p.name) == given.end()) {
      missing.push_back(p.name);
    }
  }
  if (!missing.empty()) throw XyzMissingValues(missing);
  if (const std::string* v = frame.value("step")) {
    long long step = 0;
    if (!readInt(*v, step)) bad(frame.line, "step='" + *v + "' is not a step number");
    s.Time = std::int64_t(step);
  }
  set = s;
}

}  // namespace zentrova
