#pragma once

#include <QStringList>

#include <sys/stat.h>
#include <sys/types.h>

#include <vector>

// Who may do what to a file, by its owner, group and permission bits: the one place
// that knows how users, groups and modes combine.

// Every group User belongs to, its primary group first.
std::vector<gid_t> groupsOf(uid_t User);

// Whether User may read (R_OK) or write (W_OK) a file of these attributes by its
// permission bits; root may do both.
bool userMay(uid_t User, const struct stat& File, int Access);

// The names of the users other than User (and root, who may anything anyway) who
// belong to Group, by its member list or as their primary group. Empty for a user
// private group.
QStringList otherMembersOfGroup(gid_t Group, uid_t User);

// The users other than User and root who may change a file or folder: by name, or
// everyone.
struct OtherWriters {
    bool Everyone = false;
    QStringList Users;

    bool any() const { return Everyone || !Users.isEmpty(); }
    void add(const OtherWriters& More);
};

// Who besides User may write a file of these attributes: its owner (who may give
// itself the right), the other members of its group when the group may write it, and
// everyone when all may. For a folder: who may put another entry in place of one of
// its entries; its sticky bit keeps that to the folder's owner.
OtherWriters otherWritersOf(const struct stat& File, uid_t User);
