#pragma once
#include <string>

#include <sys/types.h>

#include <pybind11/pybind11.h>

#include "state/particle_record.h"
#include "state/particle_set.h"

namespace zentrova::py {

// A particle set as Python sees it: the set itself and the record it was read
// from, so that saving keeps that file's padding bytes as the program does.
struct PySet {
  ParticleSet set;
  ParticleRecord record;

  // Calls that work on the set without the interpreter lock mark it here,
  // with the lock held: -1 while a step writes it, else the number of calls
  // reading it. A copy starts unused; so does the set in a forked child,
  // where the threads that used it are gone.
  struct Use {
    int count = 0;
    pid_t pid = 0;
    Use() = default;
    Use(const Use&) {}
    Use& operator=(const Use&) { return *this; }
    int now() const;
  } use;

  PySet();  // all 60 slots empty, everything zero
  static PySet load(const std::string& path);
  void save(const std::string& path);

  // The record as a save would write it: the set's values in the padding of
  // the file it came from.
  ParticleRecord snapshot() const;

  // RuntimeError while another thread steps the set (before reading it), or
  // while any call uses it (before writing it).
  void requireNotStepping() const;
  void requireUnused() const;
};

// Holds the set for one call that releases the interpreter lock. Made and
// destroyed with the lock held; refuses (RuntimeError) what would race.
class SetUse {
 public:
  SetUse(PySet& s, bool writes);
  ~SetUse();
  SetUse(const SetUse&) = delete;
  SetUse& operator=(const SetUse&) = delete;

 private:
  PySet& s_;
  bool writes_;
};

// A file step of the module that failed, with the path it concerned.
struct FileFailure {
  std::string message, path;
  int error = 0;  // the system's errno, 0 where none caused it
};

void bindParticleSet(pybind11::module_& m);

}  // namespace zentrova::py
