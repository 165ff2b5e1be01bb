#include "OtherUser.h"

#include <QFile>
#include <QProcess>

#include <cerrno>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {
namespace {

// The user's groups, its own first, made before the fork: the child may not allocate.
std::vector<gid_t> groupsOf(const OtherUser& User)
{
    std::vector<gid_t> groups{User.Gid};
    groups.insert(groups.end(), User.Groups.begin(), User.Groups.end());
    return groups;
}

// The child's half: only calls that are safe between fork and exec.
bool become(uid_t User, const std::vector<gid_t>& Groups)
{
    return ::setgroups(Groups.size(), Groups.data()) == 0 && ::setgid(Groups.front()) == 0 && ::setuid(User) == 0 &&
           ::geteuid() == User;
}

} // namespace

OtherUser OtherUser::nobody(std::initializer_list<gid_t> AlsoIn)
{
    const passwd* nobody = ::getpwnam("nobody");
    OtherUser user;
    user.Uid = nobody ? nobody->pw_uid : 65534;
    user.Gid = nobody ? nobody->pw_gid : 65534;
    user.Groups = AlsoIn;
    return user;
}

QByteArray OtherUser::answer(const std::function<QByteArray()>& Act) const
{
    const std::vector<gid_t> groups = groupsOf(*this);
    int pipe[2];
    if (::pipe(pipe) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        bool done = false;
        try {
            if (become(Uid, groups)) {
                const QByteArray said = Act();
                done = ::write(pipe[1], said.constData(), said.size()) == said.size();
            }
        } catch (...) {
        }
        ::_exit(done ? 0 : 1);
    }
    ::close(pipe[1]);
    QByteArray said;
    char buffer[4096];
    for (ssize_t got; child > 0 && (got = ::read(pipe[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            said.append(buffer, got);
        else if (errno != EINTR)
            break;
    }
    ::close(pipe[0]);
    int status = 0;
    const bool ended =
        child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ended ? said : QByteArray();
}

bool OtherUser::run(const std::function<bool()>& Act) const
{
    return answer([&] { return QByteArray(Act() ? "yes" : "no"); }) == "yes";
}

void OtherUser::startsAs(QProcess& Process) const
{
    Process.setChildProcessModifier([user = Uid, groups = groupsOf(*this)] {
        if (!become(user, groups))
            ::_exit(127);
    });
}

bool OtherUser::makeOwnerOf(const QString& Path) const
{
    return ::lchown(QFile::encodeName(Path).constData(), Uid, Gid) == 0;
}

bool mayActAsAnotherUser()
{
    return ::geteuid() == 0;
}

} // namespace testing_support
