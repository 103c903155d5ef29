#include "scarce_threads.h"

#include "dynamics/thread_count.h"

#include <QDBusConnection>
#include <QSemaphore>
#include <QString>
#include <QThread>
#include <QThreadPool>
#include <algorithm>
#include <chrono>
#include <cstring>
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

void ignoreMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Makes Qt's session bus a connection that failed, then ends the manager's
// thread. Later askers (the accessibility bridge, the platform theme) get the
// same unconnected bus without the manager, so they neither wait nor start a
// thread. False when the manager's thread could not be found.
bool endDBusManager() {
  const bool hadAddress = qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS");
  const QByteArray address = qgetenv("DBUS_SESSION_BUS_ADDRESS");
  // A path that cannot be a socket: the connection fails at once, and no bus
  // is launched instead.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/dev/null/zentrova");
  // The bridge would connect to this one through the manager.
  qunsetenv("AT_SPI_BUS_ADDRESS");
  // Qt warns that the bus is asked before the application exists; meant here.
  const QtMessageHandler previous = qInstallMessageHandler(ignoreMessage);
  const QDBusConnection bus = QDBusConnection::sessionBus();
  qInstallMessageHandler(previous);
  if (hadAddress)
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
  else
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
  if (bus.isConnected()) return false;
  // The connection's one member is its private object, which lives in the
  // manager's thread: the one way to that thread from outside.
  static_assert(sizeof(QDBusConnection) == sizeof(QObject*));
  QObject* connection = nullptr;
  std::memcpy(&connection, &bus, sizeof connection);
  QThread* manager = connection ? connection->thread() : nullptr;
  if (!manager || manager == QThread::currentThread()) return false;
  manager->quit();
  manager->wait();
  // wait() returns as the thread finishes, a moment before the system has
  // ended it and counts it no more.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
  while (availableThreads(2) < 2) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
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

}  // namespace

bool reserveQtThreads() {
  QThreadPool* pool = QThreadPool::globalInstance();
  // The pool's workers, the D-Bus manager and the X11 reader; with room for
  // the step's pool as well Qt may start and end its threads as it likes.
  const int plenty = pool->maxThreadCount() + 2 + zentrova::kMaxStepThreads;
  const int available = availableThreads(plenty);
  if (available >= plenty) return true;
  if (available < 2) return false;
  if (available == 2) {
    if (!endDBusManager()) return false;
  } else {
    // Naming a connection that does not exist makes the manager, which
    // starts its thread, and connects to nothing; the bridge finds it there.
    QDBusConnection(QStringLiteral("zentrova-none"));
  }
  // As many workers as there is room for, one left for the X11 reader.
  const int manager = available == 2 ? 0 : 1;
  startPoolWorkers(std::min(pool->maxThreadCount(), available - manager - 1));
  return true;
}
