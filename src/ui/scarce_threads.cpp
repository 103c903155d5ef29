#include "scarce_threads.h"

#include "dynamics/thread_count.h"

#include <QDBusConnection>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// How many threads could run at once besides this one, counting up to limit.
// Before QApplication nothing else in the process starts threads.
int availableThreads(int limit) {
  std::promise<void> done;
  const std::shared_future<void> released = done.get_future().share();
  std::vector<std::thread> probes;
  try {
    while (int(probes.size()) < limit) probes.emplace_back([released] { released.wait(); });
  } catch (const std::system_error&) {
    // the limit on threads reached
  }
  done.set_value();
  for (std::thread& t : probes) t.join();
  return int(probes.size());
}

}  // namespace

bool reserveQtThreads() {
  QThreadPool* pool = QThreadPool::globalInstance();
  // The pool's workers, the D-Bus manager and the X11 event reader, without
  // which no event reaches the window; with room for the step's pool as well
  // Qt may start and end its threads as it likes.
  const int essential = pool->maxThreadCount() + 2;
  const int available = availableThreads(essential + zentrova::kMaxStepThreads);
  if (available >= essential + zentrova::kMaxStepThreads) return true;
  if (available < 3) return false;
  // Naming a connection that does not exist makes the manager, which starts
  // its thread, and connects to nothing.
  QDBusConnection(QStringLiteral("zentrova-none"));
  // As many workers as there is room for, one left for the X11 reader. They
  // are all started now and stay, so that no later paint depends on a thread
  // being created then, after the step's pool took what was left.
  const int workers = std::min(pool->maxThreadCount(), available - 2);
  pool->setMaxThreadCount(workers);
  pool->setExpiryTimeout(-1);
  // (Not waitForDone(): it ends the pool's threads.)
  QSemaphore started, go, finished;
  for (int k = 0; k < workers; ++k)
    pool->start([&] {
      started.release();
      go.acquire();
      finished.release();
    });
  started.acquire(workers);
  go.release(workers);
  finished.acquire(workers);
  return true;
}
