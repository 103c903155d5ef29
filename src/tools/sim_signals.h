#pragma once
// Interruption of a run: SIGINT, SIGTERM and SIGHUP only note the signal, and
// the run stops after the step in progress and ends its outputs as a normal
// end does. A second such signal ends the process at once.

namespace zentrova {

// Installs the handlers for SIGINT, SIGTERM and SIGHUP.
void catchInterruptions();
// A file-size limit then fails the write (EFBIG) instead of ending the process.
void ignoreFileSizeLimitSignal();
// The signal noted, or 0.
int interruption();
// "SIGINT", "SIGTERM", "SIGHUP", or "signal N".
const char* signalName(int sig);

}  // namespace zentrova
