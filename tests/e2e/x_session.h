#pragma once
// Child processes, a private virtual display, xdotool and screenshots: what
// the end-to-end run needs to drive the real program as a user would.
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace e2e {

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

using Env = std::map<std::string, std::string>;

// The driver's own environment.
Env currentEnv();
// The full path of an executable found on PATH, or empty.
std::string findExecutable(const std::string& name);

// A background process in its own process group. It dies with the driver
// (parent-death signal), and stop() or the destructor ends its group.
class Child {
 public:
  Child() = default;
  Child(Child&& other) noexcept;
  Child& operator=(Child&& other) noexcept;
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child();

  // stdout and stderr go to logPath. passFd stays open in the child.
  static Child start(const std::vector<std::string>& argv, const Env& env, const std::string& cwd,
                     const std::string& logPath, int passFd = -1);
  pid_t pid() const { return pid_; }
  bool running();
  // Waits for the process to end by itself; its wait status, or nullopt.
  std::optional<int> waitExit(double seconds);
  // SIGTERM to the group, then SIGKILL if it has not gone within a few seconds.
  void stop();

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

struct CommandResult {
  int status = -1;  // wait status
  bool timedOut = false;
  std::string out;  // stdout; stderr is appended to the error log
  bool ok() const;
};

// Runs a short command to completion, killing it after timeoutSeconds.
CommandResult runCommand(const std::vector<std::string>& argv, const Env& env, double timeoutSeconds,
                         const std::string& errLog);

// Polls cond until it holds or the time is up.
bool waitFor(double seconds, const std::function<bool()>& cond, double intervalSeconds = 0.2);

// Seconds since the driver started.
double elapsed();

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb, Rgb) = default;
};

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  Rgb at(int x, int y) const;
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// Reads a binary PPM (P6, maxval 255).
Image readPpm(const std::string& path);

struct Geometry {
  int x = 0, y = 0, width = 0, height = 0;
};

// An Xvfb server on a display number it picks itself, and the tools that
// work on it: xdotool for input and windows, ImageMagick for screenshots.
class XSession {
 public:
  // Starts the server; logs and screenshots go to workDir.
  XSession(const std::string& workDir, double startTimeout);
  ~XSession();

  const std::string& display() const { return display_; }
  // The environment of a client of this display.
  Env clientEnv() const;

  // Visible windows whose name matches the extended regular expression.
  std::vector<unsigned long> findWindows(const std::string& nameRegex);
  std::optional<unsigned long> waitWindow(const std::string& nameRegex, double seconds);
  // A visible window that is not among before, such as a popup menu (whose
  // plain window name Qt leaves empty).
  std::optional<unsigned long> waitNewWindow(const std::vector<unsigned long>& before, double seconds);
  bool waitNoWindow(const std::string& nameRegex, double seconds);
  Geometry geometry(unsigned long window);
  std::optional<unsigned long> focusedWindow();
  // What a window manager does when the user picks a window.
  void focus(unsigned long window);

  void click(int x, int y);
  void movePointer(int x, int y);
  // xdotool key names, pressed one after the other.
  void key(const std::vector<std::string>& keys);
  void type(const std::string& text);

  // Screenshot of the whole screen. Kept as NAME.png when keep is set.
  Image screenshot(const std::string& name, bool keep);
  const std::vector<std::string>& keptShots() const { return kept_; }

 private:
  CommandResult tool(const std::vector<std::string>& argv, double timeout = 60);
  void toolOrFail(const std::vector<std::string>& argv, double timeout = 60);

  std::string workDir_, display_, errLog_;
  std::string xdotool_, import_, convert_;
  Child server_;
  std::vector<std::string> kept_;
};

}  // namespace e2e
