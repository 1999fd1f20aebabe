#pragma once
// A keyboard grab that outlives its program's ability to serve it locks the user's whole desktop.
// The X server drops a client's grabs when its connection closes, so the socket of a connection
// that holds a grab is registered here: a fatal signal (crash, abort) or a termination request
// shuts it down at once, before a core dump, a crash reporter or a slow orderly shut-down runs.
// The handlers then pass the signal on to whatever was installed before them.

namespace zrv::platform::input {

// Registers a socket; false when every slot is taken. Installs the handlers on first use.
bool GuardSocket(int fd);
// Forgets a socket (before it is closed, so a reused descriptor number is never shut).
void UnguardSocket(int fd);
// False once a signal handler has shut the socket down: nothing may be written to it any more
// (the write would raise SIGPIPE).
bool SocketUsable(int fd);

}  // namespace zrv::platform::input
