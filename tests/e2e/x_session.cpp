#include "x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace e2e {

namespace {

const auto kStart = std::chrono::steady_clock::now();

// Process groups to end if the driver is interrupted; read by the handler.
constexpr int kMaxTracked = 16;
volatile sig_atomic_t g_tracked[kMaxTracked];

void track(pid_t pid) {
  for (auto& slot : g_tracked)
    if (slot == 0) {
      slot = pid;
      return;
    }
}

void untrack(pid_t pid) {
  for (auto& slot : g_tracked)
    if (slot == pid) slot = 0;
}

void onSignal(int sig) {
  for (auto& slot : g_tracked)
    if (slot > 0) kill(-static_cast<pid_t>(slot), SIGKILL);
  signal(sig, SIG_DFL);
  raise(sig);
}

struct SignalSetup {
  SignalSetup() {
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) signal(sig, onSignal);
    signal(SIGPIPE, SIG_IGN);
  }
} g_signalSetup;

// Everything the child needs is prepared before fork: the child of a process
// with threads may only make async-signal-safe calls.
struct ExecPlan {
  std::string path;
  std::vector<std::string> args, envs;
  std::vector<char*> argv, envp;

  ExecPlan(const std::vector<std::string>& a, const Env& env) : args(a) {
    if (args.empty()) throw Failure("empty command");
    path = args[0].find('/') == std::string::npos ? findExecutable(args[0]) : args[0];
    if (path.empty()) throw Failure("not found on PATH: " + args[0]);
    for (const auto& [k, v] : env) envs.push_back(k + "=" + v);
    for (auto& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);
    for (auto& s : envs) envp.push_back(s.data());
    envp.push_back(nullptr);
  }
};

// In the child, after fork: dies with the parent, own group, given fds.
[[noreturn]] void execChild(const ExecPlan& plan, pid_t parent, const char* cwd, int outFd, int errFd) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
  setpgid(0, 0);
  const int in = open("/dev/null", O_RDONLY);
  if (in >= 0) dup2(in, 0);
  if (outFd >= 0) dup2(outFd, 1);
  if (errFd >= 0) dup2(errFd, 2);
  if (cwd && chdir(cwd) != 0) _exit(127);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) signal(sig, SIG_DFL);
  execve(plan.path.c_str(), plan.argv.data(), plan.envp.data());
  static const char kMsg[] = "exec failed\n";
  if (write(2, kMsg, sizeof kMsg - 1) < 0) _exit(127);
  _exit(127);
}

int openLog(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) throw Failure("cannot open log " + path + ": " + std::strerror(errno));
  return fd;
}

void sleepSeconds(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

}  // namespace

double elapsed() { return std::chrono::duration<double>(std::chrono::steady_clock::now() - kStart).count(); }

Env currentEnv() {
  Env env;
  for (char** e = environ; *e; ++e) {
    const std::string kv = *e;
    const auto eq = kv.find('=');
    if (eq != std::string::npos) env[kv.substr(0, eq)] = kv.substr(eq + 1);
  }
  return env;
}

std::string findExecutable(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) dir = ".";
    const std::string full = dir + "/" + name;
    if (access(full.c_str(), X_OK) == 0) return full;
  }
  return {};
}

Child::Child(Child&& other) noexcept : pid_(other.pid_), status_(other.status_) { other.pid_ = -1; }

Child& Child::operator=(Child&& other) noexcept {
  if (this != &other) {
    stop();
    pid_ = other.pid_;
    status_ = other.status_;
    other.pid_ = -1;
  }
  return *this;
}

Child::~Child() { stop(); }

Child Child::start(const std::vector<std::string>& argv, const Env& env, const std::string& cwd,
                   const std::string& logPath, int passFd) {
  const ExecPlan plan(argv, env);
  const int log = openLog(logPath);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) throw Failure(std::string("fork: ") + std::strerror(errno));
  if (pid == 0) {
    if (passFd >= 0) fcntl(passFd, F_SETFD, 0);
    execChild(plan, parent, cwd.empty() ? nullptr : cwd.c_str(), log, log);
  }
  close(log);
  setpgid(pid, pid);  // also from here, so the group exists before anyone signals it
  track(pid);
  Child c;
  c.pid_ = pid;
  return c;
}

bool Child::running() {
  if (pid_ <= 0 || status_) return false;
  // Look without reaping, so the pid (and its group) cannot be reused while
  // whatever the process left behind in its group is ended.
  siginfo_t info{};
  if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
  if (info.si_pid != pid_) return true;
  kill(-pid_, SIGKILL);
  int st = 0;
  waitpid(pid_, &st, 0);
  status_ = st;
  untrack(pid_);
  return false;
}

std::optional<int> Child::waitExit(double seconds) {
  waitFor(seconds, [this] { return !running(); }, 0.05);
  return status_;
}

void Child::stop() {
  if (pid_ <= 0) return;
  if (running()) {
    kill(-pid_, SIGTERM);
    if (!waitFor(5, [this] { return !running(); }, 0.05)) {
      kill(-pid_, SIGKILL);
      int st = 0;
      waitpid(pid_, &st, 0);
      status_ = st;
    }
  }
  untrack(pid_);
  pid_ = -1;
}

bool CommandResult::ok() const { return !timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0; }

CommandResult runCommand(const std::vector<std::string>& argv, const Env& env, double timeoutSeconds,
                         const std::string& errLog) {
  const ExecPlan plan(argv, env);
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw Failure(std::string("pipe: ") + std::strerror(errno));
  const int err = openLog(errLog);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) throw Failure(std::string("fork: ") + std::strerror(errno));
  if (pid == 0) execChild(plan, parent, nullptr, fds[1], err);
  close(fds[1]);
  close(err);
  setpgid(pid, pid);
  track(pid);

  CommandResult result;
  const double deadline = elapsed() + timeoutSeconds;
  char buf[4096];
  for (;;) {
    const double left = deadline - elapsed();
    if (left <= 0) {
      result.timedOut = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int r = poll(&p, 1, static_cast<int>(left * 1000) + 1);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) continue;
    const ssize_t n = read(fds[0], buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.out.append(buf, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  if (result.timedOut) kill(-pid, SIGKILL);
  // The output is closed; the exit follows at once, or after the kill.
  int st = 0;
  while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {
  }
  untrack(pid);
  result.status = st;
  if (!result.timedOut) {
    std::FILE* f = std::fopen(errLog.c_str(), "a");
    if (f) {
      std::fprintf(f, "[%7.2f s] %s -> %d\n", elapsed(), argv[0].c_str(),
                   WIFEXITED(st) ? WEXITSTATUS(st) : -1);
      std::fclose(f);
    }
  }
  return result;
}

bool waitFor(double seconds, const std::function<bool()>& cond, double intervalSeconds) {
  const double deadline = elapsed() + seconds;
  for (;;) {
    if (cond()) return true;
    if (elapsed() >= deadline) return false;
    sleepSeconds(intervalSeconds);
  }
}

Rgb Image::at(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Image readPpm(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure("cannot read screenshot " + path);
  const auto token = [&in]() {
    std::string t;
    char c;
    while (in.get(c)) {
      if (c == '#') {
        std::string rest;
        std::getline(in, rest);
      } else if (std::isspace(static_cast<unsigned char>(c))) {
        if (!t.empty()) return t;
      } else {
        t += c;
      }
    }
    return t;
  };
  Image img;
  if (token() != "P6") throw Failure("not a binary PPM: " + path);
  img.width = std::stoi(token());
  img.height = std::stoi(token());
  if (token() != "255") throw Failure("PPM with a maxval other than 255: " + path);
  img.rgb.resize(static_cast<std::size_t>(img.width) * img.height * 3);
  in.read(reinterpret_cast<char*>(img.rgb.data()), static_cast<std::streamsize>(img.rgb.size()));
  if (in.gcount() != static_cast<std::streamsize>(img.rgb.size())) throw Failure("short PPM: " + path);
  return img;
}

XSession::XSession(const std::string& workDir, double startTimeout)
    : workDir_(workDir), errLog_(workDir + "/tools.log") {
  xdotool_ = findExecutable("xdotool");
  import_ = findExecutable("import");
  convert_ = findExecutable("convert");
  // The server picks a free display number itself and writes it to this pipe.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw Failure(std::string("pipe: ") + std::strerror(errno));
  server_ = Child::start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1024x768x24",
                          "-nolisten", "tcp", "-noreset"},
                         currentEnv(), "", workDir + "/xvfb.log", fds[1]);
  close(fds[1]);
  std::string number;
  const double deadline = elapsed() + startTimeout;
  while (number.find('\n') == std::string::npos) {
    const double left = deadline - elapsed();
    if (left <= 0 || !server_.running()) break;
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left * 1000) + 1) <= 0) continue;
    char c;
    const ssize_t n = read(fds[0], &c, 1);
    if (n <= 0) break;
    number += c;
  }
  close(fds[0]);
  while (!number.empty() && std::isspace(static_cast<unsigned char>(number.back()))) number.pop_back();
  if (number.empty()) throw Failure("Xvfb did not start; see " + workDir + "/xvfb.log");
  display_ = ":" + number;
}

XSession::~XSession() { server_.stop(); }

Env XSession::clientEnv() const {
  Env env = currentEnv();
  env["DISPLAY"] = display_;
  env.erase("WAYLAND_DISPLAY");
  env.erase("XAUTHORITY");
  return env;
}

CommandResult XSession::tool(const std::vector<std::string>& argv, double timeout) {
  return runCommand(argv, clientEnv(), timeout, errLog_);
}

void XSession::toolOrFail(const std::vector<std::string>& argv, double timeout) {
  const CommandResult r = tool(argv, timeout);
  if (!r.ok()) {
    std::string cmd;
    for (const auto& a : argv) cmd += (cmd.empty() ? "" : " ") + a;
    throw Failure("command failed" + std::string(r.timedOut ? " (timed out)" : "") + ": " + cmd +
                  " (see " + errLog_ + ")");
  }
}

std::vector<unsigned long> XSession::findWindows(const std::string& nameRegex) {
  const CommandResult r = tool({xdotool_, "search", "--onlyvisible", "--name", nameRegex});
  std::vector<unsigned long> ids;
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line))
    if (!line.empty()) ids.push_back(std::stoul(line));
  return ids;
}

std::optional<unsigned long> XSession::waitWindow(const std::string& nameRegex, double seconds) {
  std::optional<unsigned long> found;
  waitFor(seconds, [&] {
    const auto ids = findWindows(nameRegex);
    if (!ids.empty()) found = ids.front();
    return found.has_value();
  });
  return found;
}

std::optional<unsigned long> XSession::waitNewWindow(const std::vector<unsigned long>& before, double seconds) {
  std::optional<unsigned long> found;
  waitFor(seconds, [&] {
    for (unsigned long id : findWindows(""))
      if (std::find(before.begin(), before.end(), id) == before.end()) found = id;
    return found.has_value();
  });
  return found;
}

bool XSession::waitNoWindow(const std::string& nameRegex, double seconds) {
  return waitFor(seconds, [&] { return findWindows(nameRegex).empty(); });
}

Geometry XSession::geometry(unsigned long window) {
  const CommandResult r = tool({xdotool_, "getwindowgeometry", "--shell", std::to_string(window)});
  if (!r.ok()) throw Failure("no geometry for window " + std::to_string(window));
  Geometry g;
  std::istringstream lines(r.out);
  std::string line;
  while (std::getline(lines, line)) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string k = line.substr(0, eq);
    const int v = std::stoi(line.substr(eq + 1));
    if (k == "X") g.x = v;
    if (k == "Y") g.y = v;
    if (k == "WIDTH") g.width = v;
    if (k == "HEIGHT") g.height = v;
  }
  return g;
}

std::optional<unsigned long> XSession::focusedWindow() {
  const CommandResult r = tool({xdotool_, "getwindowfocus"});
  if (!r.ok() || r.out.empty()) return std::nullopt;
  try {
    return std::stoul(r.out);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void XSession::focus(unsigned long window) {
  if (focusedWindow() == window) return;
  toolOrFail({xdotool_, "windowfocus", "--sync", std::to_string(window)});
}

void XSession::movePointer(int x, int y) {
  toolOrFail({xdotool_, "mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void XSession::click(int x, int y) {
  movePointer(x, y);
  toolOrFail({xdotool_, "click", "1"});
}

void XSession::key(const std::vector<std::string>& keys) {
  std::vector<std::string> argv{xdotool_, "key", "--delay", "80"};
  argv.insert(argv.end(), keys.begin(), keys.end());
  toolOrFail(argv);
}

void XSession::type(const std::string& text) { toolOrFail({xdotool_, "type", "--delay", "40", text}); }

Image XSession::screenshot(const std::string& name, bool keep) {
  const std::string ppm = workDir_ + "/" + name + ".ppm";
  toolOrFail({import_, "-window", "root", "-depth", "8", ppm});
  Image img = readPpm(ppm);
  if (keep) {
    const std::string png = workDir_ + "/" + name + ".png";
    toolOrFail({convert_, ppm, png});
    unlink(ppm.c_str());
    kept_.push_back(png);
  }
  return img;
}

}  // namespace e2e
