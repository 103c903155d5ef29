// libFuzzer target: arbitrary bytes opened as a .lis1 set file, then
// everything the program does with a set it has just opened: list it, draw
// it, and take one step of the force law.
//
// The input is the whole file. The program reads only its first 3784 bytes;
// the bytes after them, which it never reads, choose how the set is handled:
//   tail[0]  bit 0 Taoscope, 1 "PE - out", 2 "PES1-out", 3 "PES2-out",
//            4 Cool, 5 Blockade, 6 the literal step instead of the fast one,
//            7 both steps, compared bit for bit
//   tail[1]  bit 0 comma as decimal separator, 1 ShowNumbers, 2 also draw
//            the spiral from the record's first 19 points
//   tail[2..61]   PrevTheta, PrevPsi, PrevPhi, Distance, ShiftX, ShiftY as
//                 10-byte extended reals (any bits)
//   tail[62..65]  window width and bottom panel top, 16 bits each
// Missing tail bytes mean the start-up state: Gravoscope, no switch ticked,
// angles 0, Distance 120, no shift, a 703 x 400 view.
//
// Failure is a crash, a sanitizer report, or a broken expectation below,
// which traps. Every exception must be the one the program would show.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "dynamics/step.h"
#include "files/io_error.h"
#include "files/set_file.h"
#include "state/errors.h"
#include "state/extended.h"
#include "state/number_text.h"
#include "state/particle_record.h"
#include "view/drawing.h"
#include "view/transform.h"

using namespace zentrova;

namespace {

[[noreturn]] void fail(const char* why) {
  std::fprintf(stderr, "fuzz_set_file: %s\n", why);
  std::fflush(stderr);
  __builtin_trap();
}

void expect(bool ok, const char* why) {
  if (!ok) fail(why);
}

bool isFpMessage(const std::string& m) { return m == kMsgInvalid || m == kMsgDivByZero || m == kMsgOverflow; }

// The file comes from memory: a memfd reopened by its /proc path goes
// through the same open and read calls as a file on disk.
const std::string& memoryFilePath() {
  static const std::string path = [] {
    const int fd = memfd_create("fuzz.lis1", MFD_CLOEXEC);
    if (fd < 0) fail("memfd_create failed");
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

void putFile(const std::uint8_t* data, std::size_t size) {
  const int fd = std::stoi(memoryFilePath().substr(std::strlen("/proc/self/fd/")));
  if (ftruncate(fd, 0) != 0) fail("ftruncate failed");
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = pwrite(fd, data + done, size - done, static_cast<off_t>(done));
    if (n <= 0) fail("pwrite failed");
    done += static_cast<std::size_t>(n);
  }
}

bool sameBits(Real a, Real b) {
  std::uint8_t x[kExtendedBytes], y[kExtendedBytes];
  encodeExtended(a, x);
  encodeExtended(b, y);
  return std::memcmp(x, y, sizeof x) == 0;
}

// Every array a step may touch.
constexpr RealSlots ParticleSet::*kStepArrays[] = {
    &ParticleSet::X,   &ParticleSet::Y,   &ParticleSet::Z,   &ParticleSet::Ux,    &ParticleSet::Uy,
    &ParticleSet::Uz,  &ParticleSet::X1,  &ParticleSet::Y1,  &ParticleSet::Z1,    &ParticleSet::Ux1,
    &ParticleSet::Uy1, &ParticleSet::Uz1, &ParticleSet::DrawX, &ParticleSet::DrawY, &ParticleSet::DrawZ};
constexpr RealSlots ParticleSet::*kCommitted[] = {&ParticleSet::X,  &ParticleSet::Y,  &ParticleSet::Z,
                                                  &ParticleSet::Ux, &ParticleSet::Uy, &ParticleSet::Uz,
                                                  &ParticleSet::DrawX, &ParticleSet::DrawY, &ParticleSet::DrawZ};

template <std::size_t N>
bool sameArrays(const ParticleSet& a, const ParticleSet& b, RealSlots ParticleSet::* const (&arrays)[N]) {
  for (auto m : arrays)
    for (int n = 0; n < kMaxParticles; ++n)
      if (!sameBits((a.*m)[n], (b.*m)[n])) return false;
  return true;
}

// Counts drawing calls and keeps nothing.
class NullCanvas : public Canvas {
 public:
  NullCanvas(int w, int h) : w_(w), h_(h) {}
  void setPenColor(Rgb) override { ++calls; }
  void setBrushColor(Rgb) override { ++calls; }
  void setFontColor(Rgb) override { ++calls; }
  void fillRect(int, int, int, int) override { ++calls; }
  void setPixel(int, int, Rgb) override { ++calls; }
  void line(int, int, int, int) override { ++calls; }
  void text(int, int, const std::string& s) override {
    expect(!s.empty(), "empty label");
    ++calls;
  }
  int width() const override { return w_; }
  int height() const override { return h_; }
  long calls = 0;

 private:
  int w_, h_;
};

struct Tail {
  const std::uint8_t* p;
  std::size_t n;
  std::uint8_t byte(std::size_t at) const { return at < n ? p[at] : 0; }
  bool has(std::size_t at, std::size_t width) const { return at + width <= n; }
  Real real(std::size_t at, Real otherwise) const { return has(at, kExtendedBytes) ? decodeExtended(p + at) : otherwise; }
  int u16(std::size_t at, int otherwise) const { return has(at, 2) ? p[at] | (p[at + 1] << 8) : otherwise; }
};

// The listing and the editor show every value with formatReal; what they
// show must read back as (nearly) the same value, or be NAN or INF.
void showValue(Real v, char sep) {
  const std::string text = formatReal(v, sep);
  expect(!text.empty() && text.size() <= 24, "number text length");
  const ExtendedClass cls = classifyExtended(v);
  if (cls == ExtendedClass::NaN || cls == ExtendedClass::Unnormal || cls == ExtendedClass::Infinity) {
    expect(text == "NAN" || text == "INF" || text == "-INF", "special value text");
    try {
      parseReal(text, sep);
      fail("NAN or INF read back as a number");
    } catch (const ConvertError& e) {
      expect(e.what() == invalidRealMessage(text), "conversion message");
    }
    return;
  }
  for (char c : text)
    expect((c >= '0' && c <= '9') || c == sep || c == '-' || c == 'E', "character in number text");
  Real back = 0;
  try {
    back = parseReal(text, sep);
  } catch (const ConvertError& e) {
    expect(e.what() == invalidRealMessage(text), "conversion message");
    // Only the largest values round up past the extended range.
    expect(std::fabs(v) > std::numeric_limits<Real>::max() * (1 - 1e-14L), "shown value does not read back");
    return;
  }
  // 15 significant digits, then the nearest extended (or denormal) value.
  const Real err = std::fabs(back - v);
  const Real bound = std::fabs(v) * 6e-15L + std::numeric_limits<Real>::denorm_min() * 2;
  expect(err <= bound, "shown value reads back as another value");
  expect(cls == ExtendedClass::Zero || std::signbit(back) == std::signbit(v), "shown value changes sign");
}

void showSet(const ParticleSet& s, char sep) {
  for (Real v : {s.Dt, s.A1, s.B1, s.A2, s.B2, s.C2, s.D2, s.A3, s.B3, s.C3, s.D3}) showValue(v, sep);
  for (int a = 0; a < kMaxParticles; ++a)
    for (const RealSlots* arr : {&s.X, &s.Y, &s.Z, &s.Ux, &s.Uy, &s.Uz}) showValue((*arr)[a], sep);
}

void drawSet(ParticleSet& s, ViewState& v, NullCanvas& canvas, bool taoscope) {
  const long callsBefore = canvas.calls;
  try {
    DrawingSnapshot shown = s.drawingSnapshot();
    DrawTaons(Scene{canvas, v, shown, taoscope});
  } catch (const FpError& e) {
    const std::string m = e.what();
    expect(m == kMsgInvalid || m == kMsgOverflow, "projection fault message");
    // All projections come before the view is cleared.
    expect(canvas.calls == callsBefore, "failed drawing touched the canvas");
  }
}

void drawFigure(const ParticleSet& loaded, ViewState& v, NullCanvas& canvas) {
  DrawingSnapshot s = loaded.drawingSnapshot();
  s.FigureMode = true;
  try {
    DrawFigure(Scene{canvas, v, s, false});
  } catch (const FpError& e) {
    const std::string m = e.what();
    expect(m == kMsgInvalid || m == kMsgOverflow, "figure projection fault message");
  }
}

// One step; returns the fault message, empty when the step completed.
std::string step(ParticleSet& s, const StepControls& c, bool literal) {
  try {
    if (literal)
      stepReference(s, c);
    else
      integrateStep(s, c);
  } catch (const FpError& e) {
    expect(isFpMessage(e.what()), "step fault message");
    return e.what();
  }
  return {};
}

void stepSet(const ParticleSet& loaded, std::uint8_t bits, char sep) {
  StepControls c;
  c.forces.taoscope = bits & 1;
  c.forces.peOut = bits & 2;
  c.forces.pes1Out = bits & 4;
  c.forces.pes2Out = bits & 8;
  c.cool = bits & 16;
  c.blockade = bits & 32;
  const bool literal = bits & 64;
  const bool compare = bits & 128;

  ParticleSet s = loaded;
  const std::string fault = step(s, c, literal);
  // Absent and held particles are never moved, whatever happened.
  for (int i = 1; i <= s.Count; ++i) {
    if (s.present(i) && !isHeld(i, c.blockade)) continue;
    for (auto m : kStepArrays) expect(sameBits((s.*m)[i - 1], (loaded.*m)[i - 1]), "a step moved a still particle");
  }
  if (!fault.empty()) {
    // A failed step leaves the committed arrays and the drawing positions.
    expect(sameArrays(s, loaded, kCommitted), "failed step changed the committed set");
  } else {
    showSet(s, sep);
  }
  if (compare) {
    ParticleSet other = loaded;
    const std::string otherFault = step(other, c, !literal);
    expect(fault == otherFault, "fast and literal steps fault differently");
    expect(sameArrays(s, other, kStepArrays), "fast and literal steps differ");
  }
}

}  // namespace

namespace {

void openAndUse(const std::uint8_t* data, std::size_t size) {
  putFile(data, size);
  ParticleRecord record;
  record.bytes.fill(0xa5);
  const ParticleRecord untouched = record;
  try {
    readSetFile(memoryFilePath(), record);
  } catch (const IoError& e) {
    expect(size < ParticleRecord::kSize, "a full record did not read");
    expect(std::string(e.what()) == kMsgReadBeyondEnd, "short file message");
    expect(record.bytes == untouched.bytes, "a short file changed the buffer");
    return;
  }
  expect(size >= ParticleRecord::kSize, "a short file read");
  expect(std::memcmp(record.bytes.data(), data, ParticleRecord::kSize) == 0, "record bytes differ from the file");

  ParticleSet s;
  s.Count = 60;
  loadRecordIntoSet(record, s);
  // Loading copies bits and nothing else: the next save writes the file back.
  ParticleRecord saved = record;
  snapshotSetIntoRecord(s, saved);
  expect(saved.bytes == record.bytes, "load then save changed the record");

  const Tail tail{data + ParticleRecord::kSize, size - ParticleRecord::kSize};
  const std::uint8_t stepBits = tail.byte(0);
  const std::uint8_t viewBits = tail.byte(1);
  const char sep = (viewBits & 1) ? ',' : '.';
  showSet(s, sep);

  const int width = tail.u16(62, 703), panTop = tail.u16(64, 400);
  NullCanvas canvas(width, panTop);
  ViewState v;
  initView(v, width, panTop);
  initViewSteps(v);
  v.PrevTheta = tail.real(2, 0);
  v.PrevPsi = tail.real(12, 0);
  v.PrevPhi = tail.real(22, 0);
  v.Distance = tail.real(32, 120.0L);
  v.ShiftX = tail.real(42, 0);
  v.ShiftY = tail.real(52, 0);
  v.ShowNumbers = viewBits & 2;
  try {
    drawSet(s, v, canvas, stepBits & 1);
  } catch (const FpError& e) {
    // Building the matrix from an infinite angle.
    expect(std::string(e.what()) == kMsgInvalid, "matrix fault message");
  }
  if (viewBits & 4) {
    v.Theta = v.PrevTheta, v.Psi = v.PrevPsi, v.Phi = v.PrevPhi;
    try {
      drawFigure(s, v, canvas);
    } catch (const FpError& e) {
      expect(std::string(e.what()) == kMsgInvalid, "matrix fault message");
    }
  }

  stepSet(s, stepBits, sep);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    openAndUse(data, size);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "fuzz_set_file: unexpected failure: %s\n", e.what());
    fail("an exception the program does not know");
  } catch (...) {
    fail("an exception of no known kind");
  }
  return 0;
}
