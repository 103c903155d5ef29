#include "analysis/observables_csv.h"

#include <limits>

#include "analysis/observable_table.h"
#include "state/errors.h"
#include "state/number_text.h"

namespace zentrova {

namespace {

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out(1);
  for (const char c : line) {
    if (c == ',') out.emplace_back();
    else if (c != '\r') out.back() += c;
  }
  return out;
}

Real machineValue(const std::string& text) {
  if (text == "inf") return std::numeric_limits<Real>::infinity();
  if (text == "-inf") return -std::numeric_limits<Real>::infinity();
  if (text == "nan" || text == "-nan") return std::numeric_limits<Real>::quiet_NaN();
  return parseReal(text, '.');
}

}  // namespace

std::vector<Observables> readObservablesCsv(const std::string& text) {
  std::vector<const ObservableColumn*> columns;
  bool header = false, hasTime = false;
  std::vector<Observables> rows;
  std::size_t start = 0;
  for (int lineNo = 1; start < text.size(); ++lineNo) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line == "\r" || line[0] == '#') continue;
    const std::vector<std::string> f = fields(line);
    if (!header) {
      header = true;
      for (const std::string& name : f) {
        const ObservableColumn* found = nullptr;
        for (const ObservableColumn& c : observableTable())
          if (name == c.name) found = &c;
        columns.push_back(found);
        hasTime = hasTime || (found && found->real == &Observables::time);
      }
      if (!hasTime) throw ConvertError("Line " + std::to_string(lineNo) + ": no column \"time\"");
      continue;
    }
    if (f.size() != columns.size())
      throw ConvertError("Line " + std::to_string(lineNo) + ": " + std::to_string(f.size()) + " values for " +
                         std::to_string(columns.size()) + " columns");
    Observables o;
    try {
      for (std::size_t k = 0; k < f.size(); ++k) {
        const ObservableColumn* c = columns[k];
        if (!c) continue;
        if (c->kind == ObservableKind::Real) o.*c->real = machineValue(f[k]);
        else o.*c->integer = parseInt(f[k]);
      }
    } catch (const ConvertError& e) {
      throw ConvertError("Line " + std::to_string(lineNo) + ": " + e.what());
    }
    rows.push_back(o);
  }
  if (!header) throw ConvertError("No table of observables");
  return rows;
}

}  // namespace zentrova
