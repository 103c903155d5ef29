#pragma once
// Interruption: SIGINT, SIGTERM and SIGHUP. A command that steps (run,
// observe) only notes the signal and stops after the step in progress,
// ending its outputs as a normal end does; a second such signal ends the
// process at once. Any other command ends at once, leaving no temporary
// file of a write under way.

namespace zentrova {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP, noting the signal:
// the first thing the simulator does.
void catchInterruptions();
// From now on a signal ends the process at once, as does one already noted.
void endAtOnceOnInterruption();
// A file-size limit then fails the write (EFBIG) instead of ending the process.
void ignoreFileSizeLimitSignal();
// The signal noted, or 0.
int interruption();
// "SIGINT", "SIGTERM", "SIGHUP", or "signal".
const char* signalName(int sig);

}  // namespace zentrova
