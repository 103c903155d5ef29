#pragma once
#include <QImage>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "files/file_io.h"
#include "recording_choice.h"

// Encodes and writes recorded frames on a thread of its own, through a short
// queue: when the queue is full the run waits for the writer, so no frame is
// dropped and memory stays bounded. Each file is written whole under a
// temporary name and renamed into place; the frames are synced to disk
// together by finish(). Without a thread (the system refused one) frames
// are written as they come.
class FrameRecorder {
 public:
  explicit FrameRecorder(std::size_t capacity = 16);  // frames, a few MB each at most
  ~FrameRecorder();  // writes what is queued, then ends the thread
  FrameRecorder(const FrameRecorder&) = delete;
  FrameRecorder& operator=(const FrameRecorder&) = delete;

  // The folder to record into: `chosen` itself, unless it already holds
  // frames; then its first free sub-folder take-2, take-3, ... (created), so
  // that no recording is ever overwritten or mixed with another.
  static QString folderFor(const QString& chosen);
  static QString frameName(const QString& folder, int number);

  // A new recording into folder, numbered from frame-000001.png.
  void start(const QString& folder);
  // Queues the next frame, with `stamp` written in its corner unless empty.
  // Returns false, queuing nothing, once a frame could not be written.
  bool add(const QImage& image, const QString& stamp);
  // Waits until every queued frame is written, then syncs the frames
  // written so far to disk; a failure goes to error().
  void finish();
  // The failure that stopped the recording, naming the file; empty if none.
  QString error() const;
  QString folder() const;
  int queued() const;

 private:
  struct Job {
    QImage image;
    QString stamp;
    QString path;
  };
  void work();
  void write(Job& job);
  static QString failure(const QString& path, const char* what);

  const std::size_t capacity_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> jobs_;
  bool busy_ = false;
  bool ending_ = false;
  QString folder_, error_;
  int next_ = 1;
  // Frames written since the last sync: by the writer while busy_, else
  // under the mutex.
  zentrova::UnsyncedFiles unsynced_;
  std::thread thread_;
};
