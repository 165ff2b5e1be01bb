#pragma once

// Recording stand-ins for the sound, shell and temporary-name services. Each
// installs itself for its lifetime and puts the previous service back after.

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QThread>

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/ShellOpener.h"
#include "platform/SoundPlayer.h"
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

// Notes each file with its contents and permissions as the launch thread finds them.
class RecordingShellOpener : public ShellOpener {
public:
    struct Open {
        QString FileName;
        QByteArray Contents;
        QFile::Permissions Permissions;
    };

    RecordingShellOpener() : FPrevious(setShellOpener(this)) {}
    ~RecordingShellOpener() override { setShellOpener(FPrevious); }
    ShellOpenResult openAndWait(const QString& fileName, const QString&, const QString&, int) override
    {
        QFile file(fileName);
        const QByteArray contents = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        std::lock_guard lock(FLock);
        FOpens.push_back({fileName, contents, file.permissions()});
        return Result;
    }
    std::vector<Open> opens() const
    {
        std::lock_guard lock(FLock);
        return FOpens;
    }
    QStringList contents() const
    {
        QStringList texts;
        for (const Open& open : opens())
            texts.append(QString::fromUtf8(open.Contents));
        return texts;
    }

    ShellOpenResult Result{1234, 0, 0, false};

private:
    ShellOpener* FPrevious;
    mutable std::mutex FLock;
    std::vector<Open> FOpens;
};

// Names files through a function of the test's (folder, prefix).
class ScriptedTempFileNamer : public TempFileNamer {
public:
    using Script = std::function<QString(const QString&, const QString&)>;

    explicit ScriptedTempFileNamer(Script script) : FScript(std::move(script)), FPrevious(setTempFileNamer(this)) {}
    ~ScriptedTempFileNamer() override { setTempFileNamer(FPrevious); }
    QString createUniqueFile(const QString& folder, const QString& prefix) override { return FScript(folder, prefix); }

private:
    Script FScript;
    TempFileNamer* FPrevious;
};

// A namer that can't make any file, as when the temporary folder is not writable.
class FailingTempFileNamer : public ScriptedTempFileNamer {
public:
    FailingTempFileNamer() : ScriptedTempFileNamer([](const QString&, const QString&) { return QString(); }) {}
};

// Polls condition, letting events run, until it holds or the deadline passes;
// for work done on other threads.
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
