#pragma once
#include <QObject>

class QSocketNotifier;
namespace zentrova {
struct ParticleSet;
}

// SIGINT, SIGTERM and SIGHUP end the program through the event loop: a run in
// progress stops after its step and QCoreApplication::exec() returns 128 plus
// the signal's number, asking nothing and saving nothing, so every write has
// finished and no temporary file is left. A second such signal before the
// loop gets there ends the process at once, removing the temporary files of
// writes under way. SIGXFSZ is ignored: a file size limit then fails a write
// like a full disk does. One instance at a time; the destructor restores the
// default actions.
class TerminationSignals : public QObject {
  Q_OBJECT
 public:
  explicit TerminationSignals(zentrova::ParticleSet& set, QObject* parent = nullptr);
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  // 128 plus the signal's number once the event loop was told to end, else
  // 0. A signal that came while a modal box had the only loop ended that box
  // alone, so the caller must not start the application's loop after it.
  int exitCode() const;

 private:
  void arrived();

  zentrova::ParticleSet& set_;
  QSocketNotifier* notifier_ = nullptr;
  int handled_ = 0;
};
