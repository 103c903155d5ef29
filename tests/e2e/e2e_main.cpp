// End-to-end run of the real program under a private X server, driven with
// the pointer and the keyboard as a user would: open a set through the File
// menu and the file dialog, run it, stop it, save it, quit, start again.
// The view is checked pixel by pixel at the positions projected from the
// set files with the program's own transform; the saved file is checked
// against the same number of steps taken here.
//
// usage: zentrova_e2e --program PATH --set SET.lis1 [--keep]
// Exit 0 passed, 1 failed, 77 skipped (a tool is missing).
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "dynamics/step.h"
#include "files/set_file.h"
#include "state/particle_record.h"
#include "view/transform.h"
#include "x_session.h"

using namespace e2e;
namespace z = zentrova;
namespace fs = std::filesystem;

namespace {

constexpr int kExitSkip = 77;
// For anything the program should do at once; generous for a loaded machine.
constexpr double kWait = 90;

// " Zentrova" with the spiral, "name.lis1 — Zentrova" (a * after a change) with a set.
constexpr char kMainTitle[] = "^.* Zentrova$";
constexpr char kOpenTitle[] = "^Open$";

const Rgb kBlack{0, 0, 0}, kRed{255, 0, 0}, kLime{0, 255, 0};

// The group colours, written out here rather than taken from the drawing code.
Rgb groupColour(int particle) {
  if (particle <= 20) return {255, 255, 0};  // PE, yellow
  if (particle <= 40) return {255, 0, 255};  // PES1, fuchsia
  return {0, 255, 255};                      // PES2, aqua
}

std::string rgbText(Rgb c) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "(%d,%d,%d)", c.r, c.g, c.b);
  return buf;
}

void say(const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::printf("[%6.1f s] ", elapsed());
  std::vprintf(fmt, ap);
  std::printf("\n");
  std::fflush(stdout);
  va_end(ap);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

z::ParticleRecord readRecord(const std::string& path) {
  z::ParticleRecord r;
  z::readSetFile(path, r);
  return r;
}

// The Blockade check box lies over the view's top-left corner.
constexpr int kCoveredW = 304, kCoveredH = 21;

// Where the view area is: below the menu bar, as wide as the window, down to
// the bottom panel. Both ends are read from the screen.
struct Layout {
  Geometry win;
  int viewTop = 0, viewHeight = 0;
  int screenX(int x) const { return win.x + x; }
  int screenY(int y) const { return win.y + viewTop + y; }
};

// The view is the longest run of rows that are black right of the check box
// apart from a few dots; the menu bar above and the panel below are not.
std::optional<Layout> measureLayout(const Image& shot, const Geometry& win) {
  int best = 0, bestStart = 0, run = 0;
  for (int r = 0; r < win.height; ++r) {
    int black = 0, total = 0;
    for (int c = kCoveredW; c < win.width; ++c) {
      if (!shot.contains(win.x + c, win.y + r)) continue;
      ++total;
      if (shot.at(win.x + c, win.y + r) == kBlack) ++black;
    }
    run = (total > 0 && black >= total * 8 / 10) ? run + 1 : 0;
    if (run > best) {
      best = run;
      bestStart = r - run + 1;
    }
  }
  if (best < 100 || bestStart <= 0) return std::nullopt;
  return Layout{win, bestStart, best};
}

struct Dot {
  int particle;
  int x, y;  // top-left pixel of the 2x2 dot, in view coordinates
  Rgb colour;
};

std::vector<Dot> projectDots(const z::ParticleRecord& record, const Layout& l) {
  z::ParticleSet set;
  set.Count = z::kMaxParticles;
  z::loadRecordIntoSet(record, set);
  z::ViewState view;
  z::initView(view, l.win.width, l.viewHeight);  // a fresh view: nothing turned or moved
  z::BuildPrevMatrix(view);
  std::vector<Dot> dots;
  for (int i = 1; i <= set.Count; ++i) {
    if (!set.present(i)) continue;
    z::ProjectPoint(view, i - 1, set.DrawX[i - 1], set.DrawY[i - 1], set.DrawZ[i - 1]);
    dots.push_back({i, view.ScreenX[i - 1], view.ScreenY[i - 1], groupColour(i)});
  }
  return dots;
}

struct ViewCheck {
  int checkable = 0;  // dots with a pixel that is on screen and not shared with another colour
  int shown = 0;      // of those, dots whose every such pixel has the group colour
  int wrong = 0;      // such pixels with another colour
  int stray = 0;      // lit pixels of the view that belong to no dot
  std::string detail;
  bool ok(int minShown) const { return wrong == 0 && stray == 0 && shown >= minShown; }
  std::string summary() const {
    return std::to_string(shown) + "/" + std::to_string(checkable) + " dots shown, " + std::to_string(wrong) +
           " wrong pixels, " + std::to_string(stray) + " stray pixels" + (detail.empty() ? "" : ": " + detail);
  }
};

ViewCheck checkView(const Image& shot, const Layout& l, const std::vector<Dot>& dots) {
  const auto visible = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < l.win.width && y < l.viewHeight && !(x < kCoveredW && y < kCoveredH) &&
           shot.contains(l.screenX(x), l.screenY(y));
  };
  std::map<std::pair<int, int>, std::vector<std::size_t>> cover;
  for (std::size_t k = 0; k < dots.size(); ++k)
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx)
        if (visible(dots[k].x + dx, dots[k].y + dy)) cover[{dots[k].x + dx, dots[k].y + dy}].push_back(k);

  ViewCheck c;
  int notes = 0;
  const auto note = [&](const std::string& s) {
    if (notes++ < 6) c.detail += (c.detail.empty() ? "" : "; ") + s;
  };
  for (const Dot& d : dots) {
    int pixels = 0, right = 0;
    for (int dy = 0; dy < 2; ++dy)
      for (int dx = 0; dx < 2; ++dx) {
        const auto it = cover.find({d.x + dx, d.y + dy});
        if (it == cover.end()) continue;
        bool shared = false;
        for (std::size_t k : it->second) shared |= !(dots[k].colour == d.colour);
        if (shared) continue;  // whichever is drawn last wins; no claim either way
        ++pixels;
        const Rgb got = shot.at(l.screenX(d.x + dx), l.screenY(d.y + dy));
        if (got == d.colour) {
          ++right;
        } else {
          ++c.wrong;
          note("particle " + std::to_string(d.particle) + " at (" + std::to_string(d.x + dx) + "," +
               std::to_string(d.y + dy) + ") is " + rgbText(got) + ", not " + rgbText(d.colour));
        }
      }
    if (pixels == 0) continue;
    ++c.checkable;
    if (right == pixels) ++c.shown;
  }
  for (int y = 0; y < l.viewHeight; ++y)
    for (int x = 0; x < l.win.width; ++x) {
      if (!visible(x, y) || cover.count({x, y})) continue;
      const Rgb got = shot.at(l.screenX(x), l.screenY(y));
      if (got == kBlack) continue;
      ++c.stray;
      note("stray " + rgbText(got) + " at (" + std::to_string(x) + "," + std::to_string(y) + ")");
    }
  return c;
}

// The two lamp circles beside Go: lime and maroon when idle, dark green and
// red while a run is in progress. Nothing else in the bottom panel is pure
// lime or pure red.
struct Lamp {
  int red = 0, lime = 0;
  double limeX = 0, limeY = 0;  // centre of the lime circle, on screen
  bool idle() const { return lime >= 20 && red == 0; }
  bool running() const { return red >= 20 && lime == 0; }
};

Lamp readLamp(const Image& shot, const Layout& l) {
  Lamp lamp;
  for (int y = l.win.y + l.viewTop + l.viewHeight; y < l.win.y + l.win.height; ++y)
    for (int x = l.win.x; x < l.win.x + l.win.width; ++x) {
      if (!shot.contains(x, y)) continue;
      const Rgb c = shot.at(x, y);
      if (c == kRed) ++lamp.red;
      if (c == kLime) {
        ++lamp.lime;
        lamp.limeX += x;
        lamp.limeY += y;
      }
    }
  if (lamp.lime > 0) {
    lamp.limeX /= lamp.lime;
    lamp.limeY /= lamp.lime;
  }
  return lamp;
}

int countColour(const Image& shot, const Geometry& win, Rgb colour) {
  int n = 0;
  for (int y = win.y; y < win.y + win.height; ++y)
    for (int x = win.x; x < win.x + win.width; ++x)
      if (shot.contains(x, y) && shot.at(x, y) == colour) ++n;
  return n;
}

struct Options {
  std::string program, set;
  bool keep = false;
};

class Scenario {
 public:
  explicit Scenario(const Options& o) : opt_(o) {}

  void prepare();
  void run();
  void reportFailure(const std::string& what);
  void finish(bool passed);

 private:
  void startProgram(const std::string& tag);
  unsigned long waitMainWindow();
  Image shot(const std::string& name = "poll") {
    last_ = x_->screenshot(name, name != "poll");
    return last_;
  }
  void measure(unsigned long win);
  void waitView(const z::ParticleRecord& record, const std::string& what, const std::string& shotName,
                int minShown = kMinShown);
  Lamp waitLamp(bool running);
  void openThroughMenu(unsigned long win, const std::string& path);
  void openFileMenu(unsigned long win);
  void quitAndWait(const std::string& how);
  std::string startupFileText() const { return readFile(config_ + "/zentrova/Start.zent"); }
  void checkSavedFile(const z::ParticleRecord& before, const z::ParticleRecord& after);
  int stepsBetween(const z::ParticleRecord& before, const z::ParticleRecord& after);

  Options opt_;
  std::string work_, home_, config_, runtime_, setPath_;
  std::unique_ptr<XSession> x_;
  Child program_;
  Layout layout_;
  Image last_;
  static constexpr int kMinShown = 20;  // of the test set's 60 particles, most lie in the view
};

void Scenario::prepare() {
  const char* tmp = std::getenv("TMPDIR");
  std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/zentrova-e2e-XXXXXX";
  if (!mkdtemp(templ.data())) throw Failure("cannot make a temporary folder");
  work_ = templ;
  home_ = work_ + "/home";
  config_ = work_ + "/config";
  runtime_ = work_ + "/runtime";
  fs::create_directories(home_);
  fs::create_directories(config_);
  fs::create_directories(runtime_);
  fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
  fs::create_directories(work_ + "/sets");
  setPath_ = work_ + "/sets/e2e-set.lis1";
  fs::copy_file(opt_.set, setPath_);
  fs::permissions(setPath_, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add);
  say("work folder %s", work_.c_str());
  x_ = std::make_unique<XSession>(work_, kWait);
  say("Xvfb on display %s", x_->display().c_str());
}

void Scenario::startProgram(const std::string& tag) {
  Env env = x_->clientEnv();
  env["QT_QPA_PLATFORM"] = "xcb";
  env["HOME"] = home_;
  env["XDG_CONFIG_HOME"] = config_;
  env["XDG_RUNTIME_DIR"] = runtime_;
  env["LC_ALL"] = "C.UTF-8";
  // No session bus: nothing to talk to, and nothing gets launched for one.
  env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + work_ + "/no-bus";
  for (const char* k : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "SESSION_MANAGER", "QT_QPA_PLATFORMTHEME",
                        "QT_STYLE_OVERRIDE", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI"})
    env.erase(k);
  program_ = Child::start({opt_.program}, env, work_, work_ + "/program-" + tag + ".log");
  say("started the program (%s), pid %d", tag.c_str(), static_cast<int>(program_.pid()));
}

unsigned long Scenario::waitMainWindow() {
  const auto win = x_->waitWindow(kMainTitle, kWait);
  if (!win) throw Failure(program_.running() ? "the main window did not appear" : "the program ended at start-up");
  return *win;
}

void Scenario::measure(unsigned long win) {
  const Geometry g = x_->geometry(win);
  std::optional<Layout> l;
  if (!waitFor(kWait, [&] { return (l = measureLayout(shot(), g)).has_value(); }))
    throw Failure("no view area found in the main window");
  layout_ = *l;
  say("window %dx%d at (%d,%d); view %dx%d from row %d", g.width, g.height, g.x, g.y, g.width, l->viewHeight,
      l->viewTop);
}

void Scenario::waitView(const z::ParticleRecord& record, const std::string& what, const std::string& shotName,
                        int minShown) {
  const auto dots = projectDots(record, layout_);
  ViewCheck c;
  if (!waitFor(kWait, [&] { return (c = checkView(shot(), layout_, dots)).ok(minShown); }))
    throw Failure("the view does not show " + what + " (" + std::to_string(minShown) + " dots needed): " +
                  c.summary());
  shot(shotName);
  say("the view shows %s: %s", what.c_str(), c.summary().c_str());
}

Lamp Scenario::waitLamp(bool running) {
  Lamp lamp;
  if (!waitFor(kWait, [&] {
        lamp = readLamp(shot(), layout_);
        return running ? lamp.running() : lamp.idle();
      }))
    throw Failure(std::string("the lamp does not show ") + (running ? "a run" : "idle") + " (red " +
                  std::to_string(lamp.red) + ", lime " + std::to_string(lamp.lime) + " pixels)");
  return lamp;
}

void Scenario::openFileMenu(unsigned long win) {
  const Geometry g = x_->geometry(win);
  x_->focus(win);
  const auto before = x_->findWindows("");
  // "File" is the first title of the menu bar.
  x_->click(g.x + 18, g.y + 8);
  if (!x_->waitNewWindow(before, kWait)) throw Failure("the File menu did not open");
}

void Scenario::openThroughMenu(unsigned long win, const std::string& path) {
  openFileMenu(win);
  x_->key({"Down", "Down", "Return"});  // New, Open
  const auto dialog = x_->waitWindow(kOpenTitle, kWait);
  if (!dialog) throw Failure("File > Open showed no file dialog");
  shot("02a-open-dialog");
  x_->focus(*dialog);
  x_->type(path);
  shot("02b-path-typed");
  x_->key({"Return"});
  if (!x_->waitNoWindow(kOpenTitle, 15)) {
    // The name field's completion list can take the first Enter.
    say("the file dialog is still open; Enter once more");
    x_->key({"Return"});
    if (!x_->waitNoWindow(kOpenTitle, kWait)) throw Failure("the file dialog did not close");
  }
}

void Scenario::quitAndWait(const std::string& how) {
  const auto status = program_.waitExit(kWait);
  if (!status) throw Failure("the program did not end after " + how);
  if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
    throw Failure("the program ended badly after " + how + " (wait status " + std::to_string(*status) + ")");
  say("the program ended after %s", how.c_str());
}

void Scenario::checkSavedFile(const z::ParticleRecord& before, const z::ParticleRecord& after) {
  const auto size = fs::file_size(setPath_);
  if (size != z::ParticleRecord::kSize) throw Failure("the saved file has " + std::to_string(size) + " bytes");
  // A run moves particles: dt, the parameters, the presence bytes and the
  // padding stay as they were read.
  for (std::size_t i = 0; i < z::ParticleRecord::kX; ++i)
    if (before.bytes[i] != after.bytes[i])
      throw Failure("the save changed byte " + std::to_string(i) + " of dt or the parameters");
  for (std::size_t i = z::ParticleRecord::kPresent; i < z::ParticleRecord::kSize; ++i)
    if (before.bytes[i] != after.bytes[i]) throw Failure("the save changed byte " + std::to_string(i));
  int moved = 0;
  for (int i = 0; i < z::kMaxParticles; ++i) {
    const std::size_t off = 10 * static_cast<std::size_t>(i);
    if (before.real(z::ParticleRecord::kX + off) != after.real(z::ParticleRecord::kX + off) ||
        before.real(z::ParticleRecord::kY + off) != after.real(z::ParticleRecord::kY + off) ||
        before.real(z::ParticleRecord::kZ + off) != after.real(z::ParticleRecord::kZ + off))
      ++moved;
  }
  if (moved < z::kMaxParticles / 2) throw Failure("only " + std::to_string(moved) + " particles moved");
  say("saved file: %zu bytes, %d particles moved, dt and parameters kept", static_cast<std::size_t>(size), moved);
}

// The saved state must be the opened one after a whole number of steps with
// every switch off, bit for bit.
int Scenario::stepsBetween(const z::ParticleRecord& before, const z::ParticleRecord& after) {
  constexpr int kMaxSteps = 200000;
  constexpr double kMaxSeconds = 400;
  z::ParticleSet set;
  set.Count = z::kMaxParticles;
  z::loadRecordIntoSet(before, set);
  z::ParticleRecord record = before;  // the program's buffer keeps the padding it read
  const double until = elapsed() + kMaxSeconds;
  for (int n = 1; n <= kMaxSteps && elapsed() < until; ++n) {
    z::integrateStep(set, z::StepControls{});
    z::snapshotSetIntoRecord(set, record);
    if (record.bytes == after.bytes) return n;
  }
  throw Failure("the saved set is not the opened set after any number of steps");
}

void Scenario::run() {
  const z::ParticleRecord original = readRecord(setPath_);

  // First start with a fresh configuration: the spiral, an empty start-up file.
  startProgram("first");
  unsigned long win = waitMainWindow();
  {
    const Geometry g = x_->geometry(win);
    int red = 0;
    if (!waitFor(kWait, [&] { return (red = countColour(shot(), g, kRed)) >= 50; }))
      throw Failure("no spiral at the first start (" + std::to_string(red) + " red pixels)");
    shot("01-first-start");
  }
  if (!fs::exists(config_ + "/zentrova/Start.zent") || !startupFileText().empty())
    throw Failure("the first start did not leave an empty start-up file");
  say("first start: spiral shown, empty start-up file made");

  // File > Open, the path typed into the dialog.
  openThroughMenu(win, setPath_);
  if (!waitFor(kWait, [&] { return startupFileText() == setPath_; }))
    throw Failure("after Open the start-up file holds '" + startupFileText() + "'");
  measure(win);
  waitView(original, "the opened set", "02-opened");

  // Go with the mouse, Esc to stop.
  const Lamp idle = waitLamp(false);
  // Go sits left of the lamp: its centre 49 pixels left of the lime circle's.
  x_->click(static_cast<int>(idle.limeX + 0.5) - 49, static_cast<int>(idle.limeY + 0.5));
  waitLamp(true);
  say("running");
  {
    // Let it run until most dots have left their places.
    const auto dots = projectDots(original, layout_);
    ViewCheck c;
    if (!waitFor(kWait, [&] {
          c = checkView(shot(), layout_, dots);
          return c.checkable > 0 && c.shown * 2 <= c.checkable;
        }))
      throw Failure("the particles do not move during the run: " + c.summary());
    shot("03-running");
  }
  x_->focus(win);
  x_->key({"Escape"});
  waitLamp(false);
  say("stopped");

  // Ctrl+S writes the set back to the opened file.
  x_->key({"ctrl+s"});
  z::ParticleRecord saved;
  if (!waitFor(kWait, [&] {
        const std::string bytes = readFile(setPath_);
        if (bytes.size() != z::ParticleRecord::kSize ||
            std::equal(bytes.begin(), bytes.end(), original.bytes.begin()))
          return false;
        std::copy(bytes.begin(), bytes.end(), saved.bytes.begin());
        return true;
      }))
    throw Failure("Ctrl+S did not write the set file");
  say("saved");
  // How far the run got before Escape depends on the machine's pace: fewer
  // dots may still lie in the view, but every one shown must be right.
  waitView(saved, "the stopped (saved) set", "04-saved", 10);
  {
    const auto a = projectDots(original, layout_), b = projectDots(saved, layout_);
    int far = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
      if (std::max(std::abs(a[i].x - b[i].x), std::abs(a[i].y - b[i].y)) >= 2) ++far;
    if (far * 2 < static_cast<int>(a.size()))
      throw Failure("too few dots moved on screen to tell the sets apart: " + std::to_string(far));
    say("%d of %zu dots moved 2 pixels or more", far, a.size());
  }

  // Quit with Alt+X.
  x_->focus(win);
  x_->key({"alt+x"});
  quitAndWait("Alt+X");
  checkSavedFile(original, readRecord(setPath_));
  if (readRecord(setPath_).bytes != saved.bytes) throw Failure("the set file changed after the save");

  // Second start: the start-up file names the set, and the view shows the saved state.
  if (startupFileText() != setPath_) throw Failure("the start-up file holds '" + startupFileText() + "'");
  startProgram("second");
  win = waitMainWindow();
  measure(win);
  waitView(saved, "the saved set after the restart", "05-restarted", 10);
  if (startupFileText() != setPath_) throw Failure("the restart changed the start-up file");

  // Quit through File > Exit, the last item.
  openFileMenu(win);
  x_->key({"Up", "Return"});
  quitAndWait("File > Exit");

  const int steps = stepsBetween(original, saved);
  say("the saved set is the opened one after %d steps", steps);
}

void Scenario::reportFailure(const std::string& what) {
  std::printf("FAILED [%6.1f s]: %s\n", elapsed(), what.c_str());
  if (x_) {
    try {
      shot("failure");
    } catch (const std::exception&) {
    }
    for (const auto& s : x_->keptShots()) std::printf("  screenshot: %s\n", s.c_str());
  }
  if (!work_.empty()) {
    std::printf("  logs and files in %s\n", work_.c_str());
    for (const char* log : {"program-first.log", "program-second.log"}) {
      const std::string text = readFile(work_ + "/" + log);
      if (!text.empty()) std::printf("  --- %s (last lines)\n%s\n", log, text.substr(text.size() > 2000 ? text.size() - 2000 : 0).c_str());
    }
  }
  std::fflush(stdout);
}

void Scenario::finish(bool passed) {
  program_.stop();
  x_.reset();
  if (passed && !opt_.keep && !work_.empty()) fs::remove_all(work_);
}

}  // namespace

int main(int argc, char** argv) {
  Options opt;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--program" && i + 1 < argc) opt.program = argv[++i];
    else if (a == "--set" && i + 1 < argc) opt.set = argv[++i];
    else if (a == "--keep") opt.keep = true;
    else {
      std::fprintf(stderr, "usage: %s --program PATH --set SET.lis1 [--keep]\n", argv[0]);
      return 2;
    }
  }
  if (opt.program.empty() || opt.set.empty()) {
    std::fprintf(stderr, "usage: %s --program PATH --set SET.lis1 [--keep]\n", argv[0]);
    return 2;
  }
  opt.program = fs::absolute(opt.program).string();
  opt.set = fs::absolute(opt.set).string();
  if (const char* keep = std::getenv("ZENTROVA_E2E_KEEP"); keep && *keep && std::string(keep) != "0") opt.keep = true;
  for (const char* tool : {"Xvfb", "xdotool", "import", "convert"})
    if (findExecutable(tool).empty()) {
      std::printf("SKIPPED: %s is not installed (scripts/install-deps.sh installs it)\n", tool);
      return kExitSkip;
    }

  Scenario scenario(opt);
  bool passed = false;
  try {
    scenario.prepare();
    scenario.run();
    passed = true;
  } catch (const std::exception& e) {
    scenario.reportFailure(e.what());
  }
  scenario.finish(passed);
  if (passed) say("passed");
  return passed ? 0 : 1;
}
