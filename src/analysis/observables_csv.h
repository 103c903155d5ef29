#pragma once
#include <string>
#include <vector>

#include "analysis/observables.h"

namespace zentrova {

// Reads a table of observables as the Monitor and the simulator's observe
// write it: a header of column names, then a row per sample. Columns are
// found by name, so a table of an older or newer program reads as far as
// the names agree; it needs "time". Blank lines and lines starting with "#"
// are skipped. A table that does not read throws ConvertError naming the
// line.
std::vector<Observables> readObservablesCsv(const std::string& text);

}  // namespace zentrova
