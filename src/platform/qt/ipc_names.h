#pragma once
// Names under which the running program can be reached by a second start and by other programs.
// docs/ipc.md describes the interface for those programs.

#include <QString>

namespace zrv::platform {

// D-Bus well-known name, object path and interface, derived from the product title.
inline constexpr const char* kDBusService = "org.zrv31.GamingKeyboard";
inline constexpr const char* kDBusPath = "/org/zrv31/GamingKeyboard";
inline constexpr const char* kDBusInterface = "org.zrv31.GamingKeyboard";

// Kind of the device description block that answers the tool message, and its size in bytes.
inline constexpr int kToolDescriptionKind = 5;
inline constexpr int kToolDescriptionSize = 1024;

// Without a session bus: the lock file that makes the instance single and the local socket that
// carries the messages. Both live in $XDG_RUNTIME_DIR (else the temporary folder) and carry the
// user id, so users do not see each other's instance.
QString InstanceLockPath();
QString InstanceSocketPath();

// Whether a session bus is configured. Only then is the bus tried: connecting without an address
// would make libdbus autolaunch a bus of its own, which no other program would share.
bool SessionBusConfigured();

}  // namespace zrv::platform
