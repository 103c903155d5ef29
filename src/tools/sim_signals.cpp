#include "sim_signals.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <initializer_list>

#include "files/file_io.h"

namespace zentrova {

namespace {

// Read by the stepping threads' stop test as well as the main thread.
std::atomic<int> noted{0};
std::atomic<bool> atOnce{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "used in a signal handler");

[[noreturn]] void endNow(int sig) {
  // No temporary of a write under way is left behind.
  removePendingTemporary();
  _exit(128 + sig);
}

extern "C" void onInterruption(int sig) {
  if (atOnce.load() || noted.load() != 0) endNow(sig);
  noted.store(sig);
}

}  // namespace

void catchInterruptions() {
  struct sigaction sa {};
  sa.sa_handler = onInterruption;
  sigemptyset(&sa.sa_mask);
  // Interrupted writes go on, so a row or frame is written whole.
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

void endAtOnceOnInterruption() {
  atOnce.store(true);
  if (const int sig = noted.load()) endNow(sig);
}

void ignoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

int interruption() { return noted.load(); }

const char* signalName(int sig) {
  switch (sig) {
    case SIGINT:
      return "SIGINT";
    case SIGTERM:
      return "SIGTERM";
    case SIGHUP:
      return "SIGHUP";
    default:
      return "signal";
  }
}

}  // namespace zentrova
