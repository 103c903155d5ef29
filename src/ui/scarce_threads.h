#pragma once

// The threads Qt needs besides the window's own, or it waits for ever: on X11
// the event reader, without which no event reaches the window; the D-Bus
// connection manager, which the accessibility bridge asks at the first
// widget; and a worker of the global thread pool, to which painting shares out
// every fill or image of more than a few dozen lines and then waits. Other
// platforms have no reader. The step's pool and the frame recorder manage
// with what is left, on the calling thread if need be.
int threadsTheWindowNeeds();

// Called before QApplication exists. Reads the limit on processes
// (RLIMIT_NPROC) and how many threads the user runs already; with threads to
// spare it does nothing. When they are scarce it starts the pool's workers
// now and keeps them, so that no later paint depends on a thread being
// created then. False when fewer than threadsTheWindowNeeds() can be had: the
// window could never be drawn.
bool reserveQtThreads();
