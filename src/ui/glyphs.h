#pragma once
#include <QIcon>

// The glyphs of the Go button: a green check mark while idle, a red cross
// while a run is in progress.
QIcon checkGlyph();
QIcon crossGlyph();
