#pragma once
#include <string>

#include <pybind11/pybind11.h>

#include "state/particle_record.h"
#include "state/particle_set.h"

namespace zentrova::py {

// A particle set as Python sees it: the set itself and the record it was read
// from, so that saving keeps that file's padding bytes as the program does.
struct PySet {
  ParticleSet set;
  ParticleRecord record;

  PySet();  // all 60 slots empty, everything zero
  static PySet load(const std::string& path);
  void save(const std::string& path);

  // Python writes only the committed arrays (through the numpy views); the
  // step integrates in the step buffers, so they are made equal to what
  // Python sees before every step and after a fault.
  void alignStepBuffers();
};

void bindParticleSet(pybind11::module_& m);

}  // namespace zentrova::py
