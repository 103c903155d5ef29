#pragma once

// Qt waits for ever where it cannot start two of its threads: the D-Bus
// connection manager, which the accessibility bridge asks at the first widget,
// and the workers of the global thread pool, which painting shares out to;
// without the X11 event reader's thread the window shows nothing. The step's
// pool manages with what is left. Called before QApplication exists, this
// starts the first two now, as many workers as leave room for the reader,
// and keeps them. False when fewer than three threads can be had besides the
// calling one: the window would then never be drawn.
bool reserveQtThreads();
