#pragma once

// Keeps Qt's own diagnostics (a missing XDG_RUNTIME_DIR, fonts, plugins) off
// standard error, which carries only the program's messages: those of the
// simulator, or of the Python process that draws. A fatal one is still told,
// as `program`'s, before Qt ends the process. `program` must outlive the
// process's use of Qt (a string literal).
void keepQtMessagesQuiet(const char* program);
