#include "observable_texts.h"

#include <QCoreApplication>
#include <cstring>

namespace {

constexpr const char* kContext = "Observables";
constexpr const char* kNotConserved = "not conserved: ";

// What the table and the measures hold, listed here for the translators:
// the core cannot name Qt. A measure added to the table needs its caption
// here too (the window tests find the ones missing).
[[maybe_unused]] const char* const kTexts[] = {
    QT_TRANSLATE_NOOP("Observables", "Step"),
    QT_TRANSLATE_NOOP("Observables", "Time"),
    QT_TRANSLATE_NOOP("Observables", "Kinetic energy"),
    QT_TRANSLATE_NOOP("Observables", "Kinetic energy, PE"),
    QT_TRANSLATE_NOOP("Observables", "Kinetic energy, PES1"),
    QT_TRANSLATE_NOOP("Observables", "Kinetic energy, PES2"),
    QT_TRANSLATE_NOOP("Observables", "Centre X"),
    QT_TRANSLATE_NOOP("Observables", "Centre Y"),
    QT_TRANSLATE_NOOP("Observables", "Centre Z"),
    QT_TRANSLATE_NOOP("Observables", "Radius"),
    QT_TRANSLATE_NOOP("Observables", "Minimum distance"),
    QT_TRANSLATE_NOOP("Observables", "Closest pair, i"),
    QT_TRANSLATE_NOOP("Observables", "Closest pair, k"),
    QT_TRANSLATE_NOOP("Observables", "Potential energy"),
    QT_TRANSLATE_NOOP("Observables", "Total energy"),
    QT_TRANSLATE_NOOP("Observables", "Energy conserved"),
    QT_TRANSLATE_NOOP("Observables", "Momentum X"),
    QT_TRANSLATE_NOOP("Observables", "Momentum Y"),
    QT_TRANSLATE_NOOP("Observables", "Momentum Z"),
    QT_TRANSLATE_NOOP("Observables", "Angular momentum X"),
    QT_TRANSLATE_NOOP("Observables", "Angular momentum Y"),
    QT_TRANSLATE_NOOP("Observables", "Angular momentum Z"),
    QT_TRANSLATE_NOOP("Observables", "Present particles"),
    QT_TRANSLATE_NOOP("Observables", "Potential energy, PE"),
    QT_TRANSLATE_NOOP("Observables", "Potential energy, PES1"),
    QT_TRANSLATE_NOOP("Observables", "Potential energy, PES2"),
    QT_TRANSLATE_NOOP("Observables", "Work of the unequal pulls"),
    QT_TRANSLATE_NOOP("Observables", "Momentum conserved"),
    QT_TRANSLATE_NOOP("Observables", "Temperature"),
    QT_TRANSLATE_NOOP("Observables", "Largest force"),
    QT_TRANSLATE_NOOP("Observables", "Largest step"),
    // The curves of the plots (the groups keep their names).
    QT_TRANSLATE_NOOP("Observables", "total"),
    QT_TRANSLATE_NOOP("Observables", "radius"),
    QT_TRANSLATE_NOOP("Observables", "closest pair"),
    QT_TRANSLATE_NOOP("Observables", "potential"),
    // Why energy or momentum is not conserved.
    QT_TRANSLATE_NOOP("Observables", "particles of several groups pull each other"),
    QT_TRANSLATE_NOOP("Observables", "the pull of PE is off"),
    QT_TRANSLATE_NOOP("Observables", "the pull of PES1 is off"),
    QT_TRANSLATE_NOOP("Observables", "the pull of PES2 is off"),
    QT_TRANSLATE_NOOP("Observables", "Cool is on"),
    QT_TRANSLATE_NOOP("Observables", "Blockade holds a particle that pulls others"),
};

}  // namespace

QString observableText(const char* english) {
  if (std::strncmp(english, kNotConserved, std::strlen(kNotConserved)) == 0)
    return notConservedText(english + std::strlen(kNotConserved));
  return QCoreApplication::translate(kContext, english);
}

QString notConservedText(const char* reason) {
  return QCoreApplication::translate("Observables", "not conserved: %1")
      .arg(QCoreApplication::translate(kContext, reason));
}
