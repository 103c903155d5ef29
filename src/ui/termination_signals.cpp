#include "termination_signals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>

#include "files/file_io.h"
#include "state/particle_set.h"

namespace {

constexpr int kEnding[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction savedEnding[std::size(kEnding)];
struct sigaction savedFileSize;
// The handler writes to wake[1]; the event loop reads wake[0].
int wake[2] = {-1, -1};
std::atomic<int> pending{0};  // the signal the event loop has yet to act on
static_assert(std::atomic<int>::is_always_lock_free, "read from signal handlers");

extern "C" void onEndingSignal(int n) {
  const int saved = errno;
  int expected = 0;
  if (!pending.compare_exchange_strong(expected, n)) {
    // The event loop has not ended the program since the first one (a step
    // that takes long, a write that hangs): end now, as the default would.
    zentrova::removePendingTemporary();
    ::signal(n, SIG_DFL);
    ::raise(n);  // delivered when this handler returns
    return;
  }
  const unsigned char byte = static_cast<unsigned char>(n);
  [[maybe_unused]] const ssize_t written = ::write(wake[1], &byte, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(zentrova::ParticleSet& set, QObject* parent) : QObject(parent), set_(set) {
  pending = 0;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wake) != 0) {
    wake[0] = wake[1] = -1;
    return;  // the default actions stay: better than signals nobody reads
  }
  notifier_ = new QSocketNotifier(wake[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::arrived);
  struct sigaction action {};
  action.sa_handler = onEndingSignal;
  sigemptyset(&action.sa_mask);
  for (int n : kEnding) sigaddset(&action.sa_mask, n);
  action.sa_flags = SA_RESTART;
  for (std::size_t k = 0; k < std::size(kEnding); ++k) ::sigaction(kEnding[k], &action, &savedEnding[k]);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &savedFileSize);
}

TerminationSignals::~TerminationSignals() {
  if (wake[0] < 0) return;
  for (std::size_t k = 0; k < std::size(kEnding); ++k) ::sigaction(kEnding[k], &savedEnding[k], nullptr);
  ::sigaction(SIGXFSZ, &savedFileSize, nullptr);
  delete notifier_;
  ::close(wake[0]);
  ::close(wake[1]);
  wake[0] = wake[1] = -1;
  pending = 0;
}

int TerminationSignals::exitCode() const {
  return handled_;
}

void TerminationSignals::arrived() {
  unsigned char bytes[16];
  while (::read(wake[0], bytes, sizeof bytes) > 0) {
  }
  const int n = pending.load();
  if (n == 0 || handled_ != 0) return;
  handled_ = 128 + n;
  set_.Stopped = true;  // a run ends after the step it is in
  // Every event loop returns, a modal box's as if it had been cancelled, and
  // none starts again; no close event is sent, so nothing is asked.
  QCoreApplication::exit(handled_);
}
