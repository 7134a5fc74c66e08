#pragma once

// Pictures and layers are large blocks decoded and rendered by workers and
// freed on the GUI thread. Where the allocator would keep freed large blocks
// in its per-thread pools (glibc raises its mapping threshold after the first
// such free), this has them mapped on their own and returned to the system
// when freed. Asked when the first pages arrive rather than at start: the
// toolbar alone needs no such blocks, and mapping each costs page faults.
class LargeBlocks
{
public:
    static void returnWhenFreed();
};
