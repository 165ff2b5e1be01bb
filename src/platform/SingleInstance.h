#pragma once

#include <QString>

// Lets one instance of the program run per user: the first process to take the
// lock file holds it for its whole life; the system drops it when the process ends.
class SingleInstance {
public:
    // Name is the lock's name, shared by every instance (a GUID keeps it unique).
    explicit SingleInstance(QString name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the lock (or no lock can be made at all,
    // so the program is never kept from starting); false when another process of the
    // user's holds it.
    bool tryAcquire();
    // Gives the lock up; a later start may then take it.
    void release();
    bool held() const { return FDescriptor >= 0; }

    // <name>.lock in the user's runtime folder when that is the user's alone
    // ($XDG_RUNTIME_DIR, else Qt's private one in the temp folder); empty otherwise.
    QString lockFilePath() const;

private:
    QString FName;
    int FDescriptor = -1;
};
