#pragma once

// Recording stand-ins for the sound, shell and temporary-name services. Each
// installs itself for its lifetime and puts the previous service back after.

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QThread>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ShellOpener.h"
#include "platform/SoundPlayer.h"
#include "platform/SystemTempFileNamer.h"
#include "platform/TempFileNamer.h"

class RecordingSoundPlayer : public SoundPlayer {
public:
    RecordingSoundPlayer() : FPrevious(setSoundPlayer(this)) {}
    ~RecordingSoundPlayer() override { setSoundPlayer(FPrevious); }

    void play(const QString& fileName) override { Played.append(fileName); }

    QStringList Played;

private:
    SoundPlayer* FPrevious;
};

// Records each file with its contents and permissions as the launch finds them.
// While held, launches wait in openAndWait as if their program were still running.
class RecordingShellOpener : public ShellOpener {
public:
    struct Open {
        QString FileName;
        QByteArray Contents;
        QFile::Permissions Permissions;
    };

    RecordingShellOpener() : FPrevious(setShellOpener(this)) {}
    ~RecordingShellOpener() override
    {
        release();
        setShellOpener(FPrevious);
    }

    ShellOpenResult openAndWait(const QString& fileName, const QString&, const QString&, int) override
    {
        QFile file(fileName);
        Open open{fileName, {}, file.permissions()};
        if (file.open(QIODevice::ReadOnly))
            open.Contents = file.readAll();
        std::unique_lock lock(FLock);
        FOpens.push_back(open);
        FChanged.notify_all();
        FChanged.wait(lock, [this] { return !FHeld; });
        return Result;
    }

    std::vector<Open> opens() const
    {
        std::lock_guard lock(FLock);
        return FOpens;
    }
    int openCount() const
    {
        std::lock_guard lock(FLock);
        return static_cast<int>(FOpens.size());
    }
    void hold()
    {
        std::lock_guard lock(FLock);
        FHeld = true;
    }
    void release()
    {
        std::lock_guard lock(FLock);
        FHeld = false;
        FChanged.notify_all();
    }

    ShellOpenResult Result{1234, 0, 0, false}; // set before the launches start

private:
    ShellOpener* FPrevious;
    mutable std::mutex FLock;
    std::condition_variable FChanged;
    std::vector<Open> FOpens;
    bool FHeld = false;
};

// A namer that can't make any file, as when the folder is not writable.
class FailingTempFileNamer : public TempFileNamer {
public:
    FailingTempFileNamer() : FPrevious(setTempFileNamer(this)) {}
    ~FailingTempFileNamer() override { setTempFileNamer(FPrevious); }

    QString createUniqueFile(const QString&, const QString&) override { return {}; }

private:
    TempFileNamer* FPrevious;
};

// A namer that always hands out one given name, creating the file like the real one.
class FixedTempFileNamer : public TempFileNamer {
public:
    explicit FixedTempFileNamer(QString name) : FName(std::move(name)), FPrevious(setTempFileNamer(this)) {}
    ~FixedTempFileNamer() override { setTempFileNamer(FPrevious); }

    QString createUniqueFile(const QString&, const QString&) override
    {
        QFile file(FName);
        return file.open(QIODevice::WriteOnly) ? FName : QString();
    }

private:
    QString FName;
    TempFileNamer* FPrevious;
};

// The real namer, slowed down: gives a finishing launch time to act between the
// making of the folder and the naming of the file.
class SlowTempFileNamer : public TempFileNamer {
public:
    SlowTempFileNamer() : FPrevious(setTempFileNamer(this)) {}
    ~SlowTempFileNamer() override { setTempFileNamer(FPrevious); }

    QString createUniqueFile(const QString& folder, const QString& prefix) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return FReal.createUniqueFile(folder, prefix);
    }

private:
    SystemTempFileNamer FReal;
    TempFileNamer* FPrevious;
};

// Polls condition until it holds or the deadline passes; for work done on other threads.
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
