#pragma once

// Qt waits for ever where it cannot start the threads it relies on: the
// D-Bus connection manager, which the accessibility bridge asks at the first
// widget; a worker of the global thread pool, to which painting shares out
// every fill or image of more than a few dozen lines and then waits (unless
// the painting thread is itself one of the pool's); and the X11 event reader,
// without which no event reaches the window. The step's pool and the frame
// recorder manage with what is left, on the calling thread if need be.
//
// Called before QApplication exists. With threads to spare it does nothing.
// When they are scarce it starts the pool's workers now and keeps them, so
// that no later paint depends on a thread being created then; with only two
// to be had it also ends the D-Bus manager after a session bus that is
// deliberately not reached, so that accessibility is off and the two go to a
// painting worker and the reader. False when fewer than two threads can be
// had besides the calling one: the window could never be drawn.
bool reserveQtThreads();
