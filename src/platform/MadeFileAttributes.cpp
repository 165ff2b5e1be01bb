#include "MadeFileAttributes.h"

#include <unistd.h>

bool giveOwnerGroupAndMode(int Descriptor, uid_t Owner, gid_t Group, mode_t Mode)
{
    struct stat made {};
    if (::fstat(Descriptor, &made) != 0)
        return false;
    if (Owner != static_cast<uid_t>(-1) && made.st_uid != Owner && ::fchown(Descriptor, Owner, Group) == 0)
        made.st_gid = Group;
    if (made.st_gid != Group && ::fchown(Descriptor, static_cast<uid_t>(-1), Group) != 0)
        Mode = (Mode & ~S_IRWXG) | ((Mode & S_IRWXO) << 3);
    // After the owners: giving a file another owner takes its set-id bits away.
    return ::fchmod(Descriptor, Mode) == 0;
}
