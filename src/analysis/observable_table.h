#pragma once
#include <string>
#include <vector>

#include "analysis/observables.h"

namespace zentrova {

enum class ObservableKind {
  Count,     // an integer count (step, present)
  Real,      // an extended real
  Flag,      // 1 or 0
  Particle,  // a particle number 1..60, 0 for none
};

// The Monitor's plots an observable is drawn in.
enum class MonitorPlot { None, Kinetic, Energy, Radius, Distance };

// One observable: every list of them (the CSV columns, the simulator's JSON,
// Python's observe, the Monitor's values and plots, the documentation) is
// made from the table below, in its order.
struct ObservableColumn {
  const char* name;         // CSV column, JSON key, Python key
  const char* description;  // the Monitor's caption
  const char* formula;      // unit masses, over present particles
  const char* computed;     // how it is worked out
  ObservableKind kind;
  Real Observables::*real = nullptr;  // for ObservableKind::Real
  std::int64_t Observables::*integer = nullptr;
  // Only meaningful while the energy is conserved (conservative = 1).
  bool onlyConserved = false;
  MonitorPlot plot = MonitorPlot::None;
  const char* curve = nullptr;  // its name in the plot's legend
  unsigned rgb = 0xffffff;      // its colour there
  bool dashed = false;
};

const std::vector<ObservableColumn>& observableTable();
// The column of that name; throws std::out_of_range for an unknown one.
const ObservableColumn& observableColumn(const std::string& name);

// The value as a real (integers converted exactly).
Real observableValue(const ObservableColumn& c, const Observables& o);
// Text for other programs: integers in decimal, reals by machineReal.
std::string observableMachineText(const ObservableColumn& c, const Observables& o);
// The same for JSON, which has no infinity or NaN: those become null.
std::string observableJson(const ObservableColumn& c, const Observables& o);
// "not conserved: <why>" for a value that means nothing under these controls,
// empty when the value stands.
std::string notConservedText(const ObservableColumn& c, const Observables& o);

// The table as plain text, a line "name: description = formula (computed)"
// each, for the Python documentation.
std::string observablesDocumentation();

}  // namespace zentrova
