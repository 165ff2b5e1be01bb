#pragma once

#include <sys/types.h>

#include <optional>

// An exclusive lock on an open file, taken without waiting (flock): the system drops
// it when the last descriptor of that open file is closed, or the process ends.

enum class DescriptorLock {
    Taken,         // this descriptor now holds the lock
    HeldElsewhere, // another open file of the same file holds it
    Unavailable,   // no lock can be had here (a file system without locks)
};

DescriptorLock lockWithoutWaiting(int Descriptor);

// The user whose process holds the lock on the open file of Descriptor, from the
// system's table of locks; none when the table does not tell (no holder, or one whose
// process can't be seen).
std::optional<uid_t> lockHolderUser(int Descriptor);
