#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <functional>
#include <initializer_list>
#include <vector>

class QProcess;

namespace testing_support {

// Another user of the machine, for tests of what others may or may not do. Root
// writes read-only files and passes every permission check, so such a test acts as
// this user instead; only root can become another user.
struct OtherUser {
    uid_t Uid = 0;
    gid_t Gid = 0;
    std::vector<gid_t> Groups; // supplementary groups

    // nobody, in its own group and in AlsoIn.
    static OtherUser nobody(std::initializer_list<gid_t> AlsoIn = {});

    // Runs Act in a forked child as this user and returns what it returned; empty
    // when the child could not become the user or ended otherwise.
    QByteArray answer(const std::function<QByteArray()>& Act) const;
    // True when Act ran as this user and returned true.
    bool run(const std::function<bool()>& Act) const;
    // Lets Process start its program as this user.
    void startsAs(QProcess& Process) const;
    // Gives Path (never what a link points to) to this user and its group.
    bool makeOwnerOf(const QString& Path) const;
};

// Whether this test process may act as another user (it runs as root).
bool mayActAsAnotherUser();

} // namespace testing_support

// Skips the test where it can't act as another user.
#define SKIP_UNLESS_ABLE_TO_ACT_AS_ANOTHER_USER()                                                                      \
    if (!testing_support::mayActAsAnotherUser())                                                                       \
    GTEST_SKIP() << "needs root to act as another user"
