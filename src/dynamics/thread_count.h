#pragma once
#include <string>

namespace zentrova {

// The most threads one step uses.
constexpr int kMaxStepThreads = 16;

// How many threads a step uses when the user names none: ZENTROVA_THREADS
// when set, else one per processor this process may run on (its affinity
// mask, which taskset and a Slurm allocation narrow), at most
// kMaxStepThreads. A ZENTROVA_THREADS that is not a whole number from 1 to
// kMaxStepThreads throws std::invalid_argument with a sentence naming it.
int defaultStepThreads();

// One per processor this process may run on, at most kMaxStepThreads,
// whatever the environment says.
int processorThreads();

// Reads a thread count given by the user ("4"), with the same range and
// message as ZENTROVA_THREADS; `what` names where it came from.
int parseThreadCount(const std::string& text, const std::string& what);

}  // namespace zentrova
