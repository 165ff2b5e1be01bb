#include "DescriptorLock.h"

#include <sys/file.h>

#include <cerrno>

DescriptorLock lockWithoutWaiting(int Descriptor)
{
    int result;
    do {
        result = ::flock(Descriptor, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0)
        return DescriptorLock::Taken;
    return errno == EWOULDBLOCK ? DescriptorLock::HeldElsewhere : DescriptorLock::Unavailable;
}
