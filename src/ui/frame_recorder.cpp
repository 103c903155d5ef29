#include "frame_recorder.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <cerrno>
#include <system_error>

#include "app_state.h"
#include "error_box.h"
#include "files/file_io.h"
#include "files/io_error.h"
#include "png_file.h"
#include "state/errors.h"

namespace {

bool holdsFrames(const QString& folder) {
  return !QDir(folder).entryList({QStringLiteral("frame-*.png")}, QDir::Files).isEmpty();
}

void drawStamp(QImage& image, const QString& text) {
  QPainter painter(&image);
  QFont font = painter.font();
  font.setPixelSize(std::max(10, image.height() / 40));
  painter.setFont(font);
  const QFontMetrics fm(font);
  const QRect box(4, image.height() - fm.height() - 8, fm.horizontalAdvance(text) + 8, fm.height() + 4);
  painter.fillRect(box, QColor(0, 0, 0, 160));
  painter.setPen(Qt::white);
  painter.drawText(box.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignVCenter, text);
}

}  // namespace

FrameRecorder::FrameRecorder(std::size_t capacity) : capacity_(capacity < 1 ? 1 : capacity) {
  try {
    thread_ = std::thread([this] { work(); });
  } catch (const std::system_error&) {
    // No thread to be had: add() writes each frame itself.
  }
}

FrameRecorder::~FrameRecorder() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  try {
    unsynced_.sync();  // no one left to tell of a failure: the frames are there, only perhaps not yet on disk
  } catch (const std::exception&) {
  }
}

QString FrameRecorder::folderFor(const QString& chosen) {
  if (!holdsFrames(chosen)) return chosen;
  for (int n = 2;; ++n) {
    const QString sub = QDir(chosen).filePath(QStringLiteral("take-") + QString::number(n));
    if (!QDir(sub).exists()) {
      QDir(chosen).mkdir(QStringLiteral("take-") + QString::number(n));
      return sub;
    }
    if (!holdsFrames(sub) && QDir(sub).isEmpty()) return sub;
  }
}

QString FrameRecorder::frameName(const QString& folder, int number) {
  // Only the number goes through arg(): a folder may hold "%1" itself.
  return QDir(folder).filePath(QStringLiteral("frame-%1.png").arg(number, 6, 10, QLatin1Char('0')));
}

void FrameRecorder::start(const QString& folder) {
  finish();
  std::lock_guard<std::mutex> lock(mutex_);
  folder_ = folder;
  error_.clear();
  next_ = 1;
}

bool FrameRecorder::add(const QImage& image, const QString& stamp) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!error_.isEmpty()) return false;
  Job job{image, stamp, frameName(folder_, next_++)};
  if (!thread_.joinable()) {
    lock.unlock();
    write(job);
    lock.lock();
    return error_.isEmpty();
  }
  changed_.wait(lock, [this] { return jobs_.size() < capacity_ || !error_.isEmpty(); });
  if (!error_.isEmpty()) return false;
  jobs_.push_back(std::move(job));
  changed_.notify_all();
  return true;
}

void FrameRecorder::finish() {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return (jobs_.empty() && !busy_) || !thread_.joinable(); });
  // The writer is idle, and the frames of the recording so far go to disk
  // with one sync.
  try {
    unsynced_.sync();
  } catch (const zentrova::SyncError& e) {
    if (error_.isEmpty()) error_ = failure(fromLocal(e.path), e.what());
  } catch (const std::exception& e) {
    if (error_.isEmpty()) error_ = failure(folder_, e.what());
  }
}

QString FrameRecorder::error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

QString FrameRecorder::folder() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return folder_;
}

int FrameRecorder::queued() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return int(jobs_.size()) + (busy_ ? 1 : 0);
}

void FrameRecorder::write(Job& job) {
  try {
    if (!job.stamp.isEmpty()) drawStamp(job.image, job.stamp);
    // The encoding is what keeps a run waiting: on two busy processors this
    // thread takes its time from the step's.
    const QByteArray bytes = fastPngBytes(job.image);
    // Renamed into place whole, but synced only when the recording stops:
    // two syncs a frame took longer than the frames are asked for.
    const std::string path = toLocal(job.path);
    unsynced_.add(zentrova::writeFileReplacingUnsynced(path, reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                       std::size_t(bytes.size())),
                  path);
  } catch (const std::exception& e) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (error_.isEmpty()) error_ = failure(job.path, e.what());
    jobs_.clear();  // the frames after a failed one would leave a hole
  }
}

QString FrameRecorder::failure(const QString& path, const char* what) {
  return QCoreApplication::translate("FrameRecorder", "%1: %2. Recording stopped.")
      .arg(path, windowMessage(QString::fromUtf8(what)));
}

void FrameRecorder::work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !jobs_.empty() || ending_; });
    if (jobs_.empty()) return;  // ending, with everything written
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lock.unlock();
    changed_.notify_all();  // room in the queue
    write(job);
    lock.lock();
    busy_ = false;
    changed_.notify_all();
  }
}
