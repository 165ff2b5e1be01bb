#pragma once

#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>

// Keeps other programs off a file while this one uses it: an exclusive lock on a
// lock file beside it, ".<name>.lock", into which the holder writes who it is. A file
// named through a link is locked beside the file the link leads to. The system drops
// the lock when the holding process ends; the lock file stays. Only the users who may
// write the file may open the lock file: no one else can keep them from the file.
class FileLock {
public:
    explicit FileLock(const QString& FileName);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // True when this process now holds the lock, or when no lock can be had there (a
    // folder that can't hold the lock file, a lock file that can't be opened or is no
    // plain file), so that the file is never kept from use; then held() is false. A lock
    // held by a user who may not write the file counts as none. False when another
    // process holds it.
    bool tryAcquire();
    bool held() const { return FDescriptor >= 0; }

    // Opens the held lock file to those who may write the file as it is now: a file
    // that the first save made gives them only then.
    void followFile();

    // Who holds the lock, as the holder wrote it.
    struct Holder {
        QString User;
        qint64 ProcessId = 0;
        QString Host;
    };
    // The holder found by the last tryAcquire that failed; none when it wrote nothing
    // (it could only read the lock file) or what it wrote is stale.
    std::optional<Holder> holder() const { return FHolder; }

    QString lockFilePath() const { return FLockFilePath; }

private:
    std::optional<struct stat> fileStatus() const;
    bool mayClaim(uid_t User) const;
    bool heldByClaimant(int Descriptor, const struct stat& LockFile) const;
    void openToWriters(int Descriptor) const;

    QString FFilePath; // the file itself, links followed
    QString FLockFilePath;
    int FDescriptor = -1;
    std::optional<Holder> FHolder;
};
