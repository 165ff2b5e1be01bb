#include "Event.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <sys/stat.h>

#include <mutex>

#include "Exceptions.h"
#include "WaitExecuteThread.h"
#include "events/file/FileValues.h"
#include "platform/GetText.h"
#include "platform/PrivateFolder.h"
#include "platform/TempFileNamer.h"

namespace {

// The started program's window is shown minimised and does not take the focus.
constexpr std::int32_t showMinimizedNoActivate = 7;

// Orders everything that creates, names, deletes or removes in the tmp folder, so that
// a finishing launch never removes the folder between its creation and the naming of
// a new command file, and the shutdown clean-up sees which launches still run.
// Like the registry below it is never destroyed: a launch may still finish while the
// program ends.
std::mutex& tmpFolderLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

// The names of the command files whose launch has not finished yet.
QSet<QString>& runningCommandFiles()
{
    static auto* names = new QSet<QString>;
    return *names;
}

// Lines end at CR LF, CR or LF; a line break at the very end ends the last line.
QStringList splitLines(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Only letters and digits make an extension: a slash or a dot could place the file elsewhere.
bool isPlainExtension(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z')))
            return false;
    }
    return true;
}

bool startsWithCommandFilePrefix(const QString& name)
{
    return name.size() >= 3 && name[0] == QLatin1Char('~') && name[1].toLower() == QLatin1Char('q') &&
           name[2].toLower() == QLatin1Char('v');
}

// An Executable file runs directly, by its own interpreter line.
void writeLines(const QString& fileName, const QStringList& lines, bool Executable)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EFileError(QStringLiteral("Cannot create file \"%1\". %2").arg(fileName, file.errorString()));
    if (Executable && ::fchmod(file.handle(), S_IRWXU) != 0)
        throw EFileError(QStringLiteral("Cannot create file \"%1\".").arg(fileName));
    QByteArray text;
    for (const QString& line : lines)
        text += line.toUtf8() + '\n'; // /bin/sh would take a CR for part of the command
    if (file.write(text) != text.size() || !file.flush())
        throw EFileError(QStringLiteral("Stream write error"));
}

} // namespace

void TEvent::ExecuteCommands(const TListViewEventItem& /*Item: every occurrence runs the same commands*/) const
{
    const QString dir = GetTmpFolder();
    QString tempName;
    {
        std::lock_guard lock(tmpFolderLock());
        // Checked before each use: in a folder that another user could change, they could
        // put commands of their own in the file's place. One that can't be made or isn't
        // the user's alone shows as a failed naming.
        if (!dir.isEmpty() && makePrivateFolder(dir))
            tempName = tempFileNamer().createUniqueFile(dir, QStringLiteral("~qv"));
    }
    if (tempName.isEmpty())
        throw QuilletError(_("unable to get temp file name to execute commands"));

    QStringList lines = splitLines(CmdsToExecute);
    if (lines.isEmpty())
        return; // the empty file waits for CleanTmpFolder

    QString extension = QStringLiteral("bat");
    bool runsDirectly = false;
    if (lines.first().startsWith(QLatin1String("#!"))) {
        const QString rest = trimBlanksAndControls(QStringView(lines.first()).mid(2)).toString();
        if (isPlainExtension(rest)) {
            extension = rest;
            lines.removeFirst();
        } else if (rest.startsWith(QLatin1Char('/'))) {
            runsDirectly = true; // "#!/bin/bash": the interpreter line stays for the kernel to read
        } else {
            lines.removeFirst();
        }
    }

    writeLines(tempName, lines, runsDirectly);

    const QString commandFile = tempName + QLatin1Char('.') + extension;
    {
        std::lock_guard lock(tmpFolderLock());
        // QFile::rename never replaces an existing file.
        if (!QFile::rename(tempName, commandFile))
            throw QuilletError(_("unable to rename temp file to cmd file"));
        runningCommandFiles().insert(QFileInfo(commandFile).fileName());
    }

    auto launch = std::make_unique<TWaitExecuteThread>();
    launch->OnExecuteDone = &TEvent::ExecuteDone;
    launch->ExecInfo.FileName = commandFile;
    launch->ExecInfo.ShowCmd = showMinimizedNoActivate;
    try {
        TWaitExecuteThread::Start(std::move(launch));
    } catch (...) {
        std::lock_guard lock(tmpFolderLock());
        runningCommandFiles().remove(QFileInfo(commandFile).fileName());
        throw;
    }
}

void TEvent::ExecuteDone(const TExecInfo& Info)
{
    std::lock_guard lock(tmpFolderLock());
    // A file handed to another program may still be read by it: CleanTmpFolder takes it at shutdown.
    if (!Info.HandedOver)
        QFile::remove(Info.FileName);
    const QFileInfo file(Info.FileName);
    runningCommandFiles().remove(file.fileName());
    // The file's own folder is the tmp folder, named without asking the application,
    // which may be gone when a launch finishes at the program's end.
    QDir().rmdir(file.absolutePath()); // only an empty folder goes
}

void CleanTmpFolder()
{
    std::lock_guard lock(tmpFolderLock());
    const QString dir = GetTmpFolder();
    if (dir.isEmpty() || othersMayChange(dir))
        return; // nothing of ours can be there, and nothing else is deleted
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries)
        if (startsWithCommandFilePrefix(entry.fileName()) && !runningCommandFiles().contains(entry.fileName()))
            QFile::remove(entry.filePath());
    QDir().rmdir(dir);
}
