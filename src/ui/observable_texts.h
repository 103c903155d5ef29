#pragma once
#include <QString>

// The Monitor's words for the measures of a set, in the window's language.
// The table of measures belongs to the core and stays English, since the
// CSV, the JSON and the simulator use its names; the window translates the
// captions, the curves' names and the reasons energy is not conserved.
QString observableText(const char* english);

// "not conserved: REASON", translated as a whole.
QString notConservedText(const char* reason);
