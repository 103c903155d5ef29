#pragma once

// Qt waits for ever where it cannot start two of its threads: the D-Bus
// connection manager, which the accessibility bridge asks at the first widget,
// and the workers of the global thread pool, which painting shares out to;
// without the X11 event reader's thread the window shows nothing. None of the
// three can be done without: the bridge asks the session bus at its first use
// whatever the environment says (AT_SPI_BUS_ADDRESS only names another bus to
// connect to, through the same manager), and large fills and image draws are
// always shared out to the pool. The step's pool and the frame recorder
// manage with what is left, on the calling thread if need be. Called before
// QApplication exists, this starts the first two now, as many workers as
// leave room for the reader, and keeps them. False when fewer than three
// threads can be had besides the calling one: the window would then never be
// drawn.
bool reserveQtThreads();
