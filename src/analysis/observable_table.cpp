#include "analysis/observable_table.h"

#include <cmath>
#include <stdexcept>

#include "state/number_text.h"

namespace zentrova {

namespace {

using K = ObservableKind;
using P = MonitorPlot;
using O = Observables;

ObservableColumn real(const char* name, const char* description, const char* formula, const char* computed,
                      Real O::*field) {
  ObservableColumn c{name, description, formula, computed, K::Real};
  c.real = field;
  return c;
}

ObservableColumn integer(const char* name, const char* description, const char* formula, const char* computed,
                         K kind, std::int64_t O::*field) {
  ObservableColumn c{name, description, formula, computed, kind};
  c.integer = field;
  return c;
}

ObservableColumn plotted(ObservableColumn c, P plot, const char* curve, unsigned rgb, bool dashed = false) {
  c.plot = plot;
  c.curve = curve;
  c.rgb = rgb;
  c.dashed = dashed;
  return c;
}

std::vector<ObservableColumn> makeTable() {
  const char* sum = "summed over present particles in ascending order";
  const char* about = "about the origin, summed over present particles in ascending order";
  const char* sum2 = "over every pair of present particles of the group, whatever the switches; NaN when a "
                     "power overflows";
  std::vector<ObservableColumn> t = {
      integer("step", "Step", "Time", "the completed steps", K::Count, &O::step),
      real("time", "Time", "step × dt", "the step count times the current dt", &O::time),
      plotted(real("kinetic", "Kinetic energy", "Σ (ux² + uy² + uz²) / 2", sum, &O::kinetic), P::Kinetic, "total",
              0xffffff, true),
      plotted(real("kinetic_pe", "Kinetic energy, PE", "Σ over PE of (ux² + uy² + uz²) / 2", sum, &O::kinetic_pe),
              P::Kinetic, "PE", 0xffff00),
      plotted(real("kinetic_pes1", "Kinetic energy, PES1", "Σ over PES1 of (ux² + uy² + uz²) / 2", sum,
                   &O::kinetic_pes1),
              P::Kinetic, "PES1", 0xff00ff),
      plotted(real("kinetic_pes2", "Kinetic energy, PES2", "Σ over PES2 of (ux² + uy² + uz²) / 2", sum,
                   &O::kinetic_pes2),
              P::Kinetic, "PES2", 0x00ffff),
      real("com_x", "Centre X", "Σ x / present", "the mean of the present particles", &O::com_x),
      real("com_y", "Centre Y", "Σ y / present", "the mean of the present particles", &O::com_y),
      real("com_z", "Centre Z", "Σ z / present", "the mean of the present particles", &O::com_z),
      plotted(real("radius", "Radius", "√(Σ |r − centre|² / present)",
                   "the root mean square distance from the centre", &O::radius),
              P::Radius, "radius", 0xffffff),
      plotted(real("min_distance", "Minimum distance", "min |ri − rk|",
                   "over every pair i < k of present particles; infinite with fewer than two, NaN when a "
                   "distance is NaN",
                   &O::min_distance),
              P::Distance, "closest pair", 0xffffff),
      integer("min_i", "Closest pair, i", "i of the closest pair", "the first such pair in order; 0 for none",
              K::Particle, &O::min_i),
      integer("min_k", "Closest pair, k", "k of the closest pair", "the first such pair in order; 0 for none",
              K::Particle, &O::min_k),
      plotted(real("potential", "Potential energy",
                   "Σ U(d) over pairs i < k of one group; PE: U = σ·A1·(d^(B1/d) − 1); PES1: U = σ·A2·(−S·f(d) + "
                   "1.25·10⁻¹²·(g(d) − 1) + h_B2(d) + h_C2(d) + h_D2(d)); PES2 the same with A3, B3, C3, D3; "
                   "f(r) = (9.45r)^(−(9.45r)^19), g(r) = (0.09r)^(75/(0.09r)), h_p(r) = u^((10/u)·(2.5 − u^20)) "
                   "with u = 1.029r/p; σ = pairSign(i, k), S = modeSign",
                   "over every pair of present particles of the same group, whatever the group switches; pairs "
                   "of different groups have no common potential and add nothing; NaN when a power overflows",
                   &O::potential),
              P::Energy, "potential", 0xff8000),
      plotted(real("energy", "Total energy", "kinetic + potential", "NaN when the potential is", &O::energy),
              P::Energy, "total", 0xffffff),
      integer("conservative", "Energy conserved",
              "1 when no present particle is pulled by one of another group, no group with two present "
              "particles has its pull off, and Cool is off; else 0",
              "from the set's presence and the switches of the step; particles held by Blockade are fixed "
              "sources of their group's law and keep the energy conserved",
              K::Flag, &O::conservative),
      real("momentum_x", "Momentum X", "Σ ux", sum, &O::momentum_x),
      real("momentum_y", "Momentum Y", "Σ uy", sum, &O::momentum_y),
      real("momentum_z", "Momentum Z", "Σ uz", sum, &O::momentum_z),
      real("angular_x", "Angular momentum X", "Σ (y·uz − z·uy)", about, &O::angular_x),
      real("angular_y", "Angular momentum Y", "Σ (z·ux − x·uz)", about, &O::angular_y),
      real("angular_z", "Angular momentum Z", "Σ (x·uy − y·ux)", about, &O::angular_z),
      integer("present", "Present particles", "the number of present particles", "counted", K::Count, &O::present),
      real("potential_pe", "Potential energy, PE", "Σ U(d) over pairs i < k of PE", sum2,
                   &O::potential_pe),
      real("potential_pes1", "Potential energy, PES1", "Σ U(d) over pairs i < k of PES1", sum2,
                   &O::potential_pes1),
      real("potential_pes2", "Potential energy, PES2", "Σ U(d) over pairs i < k of PES2", sum2,
                   &O::potential_pes2),
      real("work", "Work of the unequal pulls",
                   "Σ over steps and moving particles of F′·(u + u′)/2·dt, F′ = F − F_U",
                   "F the force the step applies, F_U = −∂potential/∂r, u and u′ the velocity before and "
                   "after the step; F′·dt is taken as the step's change of velocity less F_U·dt, so with "
                   "Cool on it includes the energy the damping takes away; counted from the run's first "
                   "measured step, 0 for a set on its own; energy − work then changes only by the step's "
                   "own error",
                   &O::work),
      integer("momentum_conserved", "Momentum conserved",
              "1 when no present particle is pulled by one of another group, no held particle pulls a "
              "moving one, and Cool is off; else 0",
              "from the set's presence and the switches of the step; for angular momentum as well", K::Flag,
              &O::momentum_conserved),
      real("temperature", "Temperature", "(2/3) · Σ |u − ū|²/2 / present",
           "ū the mean velocity; unit masses and Boltzmann constant", &O::temperature),
      real("force_max", "Largest force", "max |F|",
           "over the particles a step moves (present, not held), F as the step applies it; NaN when a power "
           "overflows",
           &O::force_max),
      real("step_max", "Largest step", "max |u| · |dt|",
           "over the particles a step moves: the largest displacement of the last step of the default "
           "integrator",
           &O::step_max),
  };
  for (ObservableColumn& c : t)
    if (std::string(c.name) == "energy") c.onlyConserved = true;
  return t;
}

}  // namespace

const std::vector<ObservableColumn>& observableTable() {
  static const std::vector<ObservableColumn> table = makeTable();
  return table;
}

const ObservableColumn& observableColumn(const std::string& name) {
  for (const ObservableColumn& c : observableTable())
    if (name == c.name) return c;
  throw std::out_of_range("no observable named " + name);
}

Real observableValue(const ObservableColumn& c, const Observables& o) {
  return c.real ? o.*c.real : static_cast<Real>(o.*c.integer);
}

std::string observableMachineText(const ObservableColumn& c, const Observables& o) {
  return c.real ? machineReal(o.*c.real) : std::to_string(o.*c.integer);
}

std::string observableJson(const ObservableColumn& c, const Observables& o) {
  if (c.real && !std::isfinite(o.*c.real)) return "null";
  return observableMachineText(c, o);
}

std::string notConservedText(const ObservableColumn& c, const Observables& o) {
  if (!c.onlyConserved || !o.notConserved) return {};
  return std::string("not conserved: ") + o.notConserved;
}

std::string observablesDocumentation() {
  std::string text;
  for (const ObservableColumn& c : observableTable())
    text += std::string(c.name) + ": " + c.description + " = " + c.formula + " (" + c.computed + ")\n";
  return text;
}

}  // namespace zentrova
