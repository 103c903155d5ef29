#pragma once

// Keeps Qt's own diagnostics (a missing XDG_RUNTIME_DIR, fonts, plugins) off
// standard error, which carries only the simulator's messages. A fatal one is
// still told, as the simulator's, before Qt ends the process.
void keepQtMessagesQuiet();
