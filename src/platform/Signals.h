#pragma once

namespace lunor::platform {

// The requests to end the program that the system sends (SIGTERM, SIGINT and SIGHUP here).
// A signal handler may do almost nothing, so each request is only written as one byte into a
// pipe; the event loop watches the pipe's read end and runs the close step from there.
//
// Installs the handlers (once; later calls return the same pipe) and returns the read end,
// which is non-blocking; -1 when the pipe or a handler cannot be set up.
int catchTerminationRequests();

// Reads every pending byte from the pipe; the last request's signal number, 0 when none.
int takeTerminationRequest(int pipe);

} // namespace lunor::platform
