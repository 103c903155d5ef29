// zentrova.rdf: pair distances per pair of groups, over one set or many.
#include "py_rdf.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "analysis/rdf.h"
#include "py_real.h"
#include "py_set.h"

namespace zentrova::py {

namespace pyb = pybind11;

namespace {

pyb::dict rdf(pyb::object frames, int bins, pyb::object range, std::optional<std::vector<std::string>> names) {
  std::vector<const PySet*> sets;
  if (pyb::isinstance<PySet>(frames)) {
    sets.push_back(&frames.cast<const PySet&>());
  } else {
    for (pyb::handle f : frames) sets.push_back(&f.cast<const PySet&>());  // TypeError for anything else
  }
  if (sets.empty()) throw pyb::value_error("rdf needs at least one set");
  std::vector<GroupPair> pairs;
  try {
    if (names)
      for (const std::string& n : *names) pairs.push_back(parseGroupPair(n));
    else
      pairs = allGroupPairs();
    for (const PySet* s : sets) s->requireNotStepping();
    const Real r = range.is_none() ? largestDistance(sets.front()->set) : realFrom(range, "range");
    if (range.is_none() && !(r > 0))
      throw std::invalid_argument("the first set has no two particles apart; give range");
    RadialDistribution hist(bins, r, pairs);
    for (const PySet* s : sets) hist.add(s->set);
    pyb::dict out;
    for (std::size_t p = 0; p < hist.pairs().size(); ++p) {
      pyb::array_t<Real> low(bins), high(bins), g(bins);
      pyb::array_t<std::uint64_t> count(bins);
      for (int b = 0; b < bins; ++b) {
        low.mutable_at(b) = hist.binLow(b), high.mutable_at(b) = hist.binHigh(b);
        count.mutable_at(b) = hist.count(p, b), g.mutable_at(b) = hist.g(p, b);
      }
      pyb::dict one;
      one["r_low"] = low, one["r_high"] = high, one["count"] = count, one["g"] = g;
      out[pyb::str(groupPairName(hist.pairs()[p]))] = one;
    }
    return out;
  } catch (const std::invalid_argument& e) {
    throw pyb::value_error(e.what());
  }
}

}  // namespace

void bindRdf(pyb::module_& m) {
  m.def("rdf", &rdf, pyb::arg("frames"), pyb::kw_only(), pyb::arg("bins") = 100, pyb::arg("range") = pyb::none(),
        pyb::arg("pairs") = pyb::none(),
        R"doc(rdf(frames, *, bins=100, range=None, pairs=None)
--

The histogram of pair distances and g(r) per pair of groups, over one
set or every set of an iterable (the frames of a trajectory), as
zentrova-sim rdf writes it: a dict from the pair's name ("PE-PES1") to
a dict of numpy arrays r_low, r_high, count and g, one entry per bin.

g = count / (pairs * (r_high**3 - r_low**3) / range**3): the count over
what the same pairs spread evenly through the sphere of radius range
would give, pairs summed over the frames (n_a * n_b of two groups,
n (n - 1) / 2 of one). range defaults to the largest distance of the
first set; farther pairs are not counted. pairs: names such as
"PE-PES1" or "PES2-PES2"; all six by default. ValueError for a bad
name, bins below 1 or a range that is not a positive distance.)doc");
}

}  // namespace zentrova::py
