#include "scarce_threads.h"

#include "dynamics/thread_count.h"

#include <QSemaphore>
#include <QThreadPool>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The threads (tasks) the real user runs now, the count the kernel holds
// against RLIMIT_NPROC; -1 when /proc cannot tell.
long threadsOfUser(uid_t uid) {
  DIR* proc = opendir("/proc");
  if (!proc) return -1;
  long total = 0;
  while (const dirent* e = readdir(proc)) {
    if (e->d_name[0] < '0' || e->d_name[0] > '9') continue;
    std::ifstream status(std::string("/proc/") + e->d_name + "/status");
    std::string line;
    bool mine = false;
    long threads = 0;
    while (std::getline(status, line)) {
      if (line.rfind("Uid:", 0) == 0) mine = std::strtoul(line.c_str() + 4, nullptr, 10) == uid;
      if (line.rfind("Threads:", 0) == 0) threads = std::strtol(line.c_str() + 8, nullptr, 10);
    }
    if (mine) total += threads;
  }
  closedir(proc);
  return total;
}

// How many more threads the user may start: INT_MAX when there is no limit
// or it does not bind (root is not held to it).
int availableThreads() {
  rlimit limit{};
  if (getrlimit(RLIMIT_NPROC, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY || getuid() == 0) return INT_MAX;
  const long used = threadsOfUser(getuid());
  if (used < 0) return INT_MAX;
  const long left = long(limit.rlim_cur) - used;
  return int(std::clamp<long>(left, 0, INT_MAX));
}

// Starts workers of the global pool now and keeps them for good.
void startPoolWorkers(int workers) {
  QThreadPool* pool = QThreadPool::globalInstance();
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
}

bool onX11() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return std::strncmp(platform, "xcb", 3) == 0;
  return std::getenv("DISPLAY") != nullptr;
}

}  // namespace

int threadsTheWindowNeeds() { return onX11() ? 3 : 2; }

bool reserveQtThreads() {
  QThreadPool* pool = QThreadPool::globalInstance();
  const int needed = threadsTheWindowNeeds();
  // With room for the pool, Qt's own threads and the step's pool, Qt may
  // start and end its threads as it likes.
  const int plenty = pool->maxThreadCount() + needed + zentrova::kMaxStepThreads;
  const int available = availableThreads();
  if (available >= plenty) return true;
  if (available < needed) return false;
  // As many workers as there is room for, besides the reader and the manager.
  startPoolWorkers(std::min(pool->maxThreadCount(), available - (needed - 1)));
  return true;
}
