#pragma once

// For the tests of the reminder pop-up and of the main window's reminder check:
// recording stand-ins for the sound, shell and temporary-name services (each
// installs itself for its lifetime and puts the previous service back after),
// and rows in a form that compares and prints.

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QThread>

#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <vector>

#include "events/EventList.h"
#include "platform/ShellOpener.h"
#include "platform/SoundPlayer.h"
#include "platform/TempFileNamer.h"

namespace reminder_testing {

class RecordingSoundPlayer : public SoundPlayer {
public:
    RecordingSoundPlayer() : FPrevious(setSoundPlayer(this)) {}
    ~RecordingSoundPlayer() override { setSoundPlayer(FPrevious); }

    void play(const QString& fileName) override { Played.append(fileName); }

    QStringList Played;

private:
    SoundPlayer* FPrevious;
};

// Records the opened files' names and contents (launches run on threads of their own).
class RecordingShellOpener : public ShellOpener {
public:
    RecordingShellOpener() : FPrevious(setShellOpener(this)) {}
    ~RecordingShellOpener() override { setShellOpener(FPrevious); }

    ShellOpenResult openAndWait(const QString& fileName, const QString&, const QString&, int) override
    {
        QFile file(fileName);
        const QByteArray contents = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        std::lock_guard lock(FLock);
        FContents.append(QString::fromUtf8(contents));
        return {1234, 0, 0, false};
    }

    QStringList contents() const
    {
        std::lock_guard lock(FLock);
        return FContents;
    }

private:
    ShellOpener* FPrevious;
    mutable std::mutex FLock;
    QStringList FContents;
};

// A namer that can't make any file, as when the temporary folder is not writable.
class FailingTempFileNamer : public TempFileNamer {
public:
    FailingTempFileNamer() : FPrevious(setTempFileNamer(this)) {}
    ~FailingTempFileNamer() override { setTempFileNamer(FPrevious); }

    QString createUniqueFile(const QString&, const QString&) override { return {}; }

private:
    TempFileNamer* FPrevious;
};

struct Row {
    int EventIndex;
    int DateIndex;
    bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& row, std::ostream* os)
{
    *os << '(' << row.EventIndex << ',' << row.DateIndex << ')';
}

inline std::vector<Row> rowsOf(const TListViewEventItems& items)
{
    std::vector<Row> rows;
    for (const auto& item : items)
        rows.push_back({item->EventIndex, item->DateIndex});
    return rows;
}

// Polls condition, letting events run, until it holds or the deadline passes.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 20000)
{
    for (int waited = 0; !condition(); waited += 5) {
        if (waited >= timeoutMs)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return true;
}

} // namespace reminder_testing
