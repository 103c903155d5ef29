#include "sim_signals.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <initializer_list>

#include "files/file_io.h"

namespace zentrova {

namespace {

// Written by the handler, read by the run's threads.
std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

extern "C" void onInterruption(int sig) {
  int none = 0;
  if (!noted.compare_exchange_strong(none, sig)) {
    // Second signal: end at once, leaving no temporary of a write under way.
    removePendingTemporary();
    _exit(128 + sig);
  }
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
