#include "UserAccess.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>

std::vector<gid_t> groupsOf(uid_t User)
{
    const passwd* user = ::getpwuid(User);
    if (!user)
        return {};
    const gid_t primary = user->pw_gid;
    const QByteArray name(user->pw_name); // getgrouplist may reuse getpwuid's buffer
    int count = 64;
    std::vector<gid_t> groups(count);
    if (::getgrouplist(name.constData(), primary, groups.data(), &count) < 0) {
        groups.resize(count);
        if (::getgrouplist(name.constData(), primary, groups.data(), &count) < 0)
            return {primary};
    }
    groups.resize(count);
    return groups;
}

bool userMay(uid_t User, const struct stat& File, int Access)
{
    if (User == 0)
        return true;
    const bool write = Access == W_OK;
    if (User == File.st_uid)
        return (File.st_mode & (write ? S_IWUSR : S_IRUSR)) != 0;
    const std::vector<gid_t> groups = groupsOf(User);
    if (std::find(groups.begin(), groups.end(), File.st_gid) != groups.end())
        return (File.st_mode & (write ? S_IWGRP : S_IRGRP)) != 0;
    return (File.st_mode & (write ? S_IWOTH : S_IROTH)) != 0;
}

void OtherWriters::add(const OtherWriters& More)
{
    Everyone = Everyone || More.Everyone;
    for (const QString& user : More.Users)
        if (!Users.contains(user))
            Users << user;
}

OtherWriters otherWritersOf(const struct stat& File, uid_t User)
{
    OtherWriters writers;
    if (File.st_uid != User && File.st_uid != 0) {
        const passwd* owner = ::getpwuid(File.st_uid);
        writers.Users << (owner ? QString::fromUtf8(owner->pw_name) : QString::number(File.st_uid));
    }
    if (S_ISDIR(File.st_mode) && (File.st_mode & S_ISVTX))
        return writers;
    if (File.st_mode & S_IWGRP)
        writers.add({false, otherMembersOfGroup(File.st_gid, User)});
    writers.Everyone = (File.st_mode & S_IWOTH) != 0;
    return writers;
}

QStringList otherMembersOfGroup(gid_t Group, uid_t User)
{
    QStringList members;
    const auto addMember = [&](const char* name) {
        const passwd* member = ::getpwnam(name);
        if (member && member->pw_uid != User && member->pw_uid != 0 && !members.contains(QString::fromUtf8(name)))
            members << QString::fromUtf8(name);
    };
    if (const group* entry = ::getgrgid(Group)) {
        QList<QByteArray> names;
        for (char** name = entry->gr_mem; name && *name; ++name)
            names << QByteArray(*name); // getpwnam may reuse getgrgid's buffer
        for (const QByteArray& name : names)
            addMember(name.constData());
    }
    // Users whose primary group it is are not listed as its members.
    QList<QByteArray> primaries;
    ::setpwent();
    while (const passwd* user = ::getpwent())
        if (user->pw_gid == Group)
            primaries << QByteArray(user->pw_name);
    ::endpwent();
    for (const QByteArray& name : primaries)
        addMember(name.constData());
    return members;
}
