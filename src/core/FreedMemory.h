#pragma once

namespace solardesk {

// Gives the memory freed after a large load back to the system. The C library keeps what a
// file's reading and plotting built and dropped again (about 9 MB for a full file) for later
// allocations; a window that stays open for hours would hold it all that time.
void ReleaseFreedMemory();

}  // namespace solardesk
