#pragma once

// An exclusive lock on an open file, taken without waiting (flock): the system drops
// it when the last descriptor of that open file is closed, or the process ends.

enum class DescriptorLock {
    Taken,         // this descriptor now holds the lock
    HeldElsewhere, // another open file of the same file holds it
    Unavailable,   // no lock can be had here (a file system without locks)
};

DescriptorLock lockWithoutWaiting(int Descriptor);
