#pragma once

#include <string>

namespace solardesk::hidraw {

// Moves the calling process into a mount namespace of its own in which /sys and /dev are fresh
// tmpfs trees: /sys empty but for the top directories (emulated devices add their entries) and
// the FUSE control file system on /sys/fs/fuse/connections, /dev holding copies of the host's basic
// nodes (null, zero, random, tty, fuse, ...). Nothing the process mounts there is seen outside.
// Needs root (CAP_SYS_ADMIN) and /dev/fuse, and must run before the process starts a second thread.
// Empty on success, else why it cannot be done.
std::string EnterPrivateDeviceTree();

}  // namespace solardesk::hidraw
