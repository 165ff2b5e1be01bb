#include "ShellTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QWidget>

#include "app/MainForm.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ErrorReport.h"
#include "platform/gui/SystemTray.h"

namespace shell_test {

const QString HotKeyMessage = QStringLiteral("Unable to assign \"Ctrl+Shift+E\" as hotkey.");

QImage screenshot(QWidget& widget, const QString& name)
{
    QString folder = qEnvironmentVariable("QUILLET_SCREENSHOTS");
    if (folder.isEmpty())
        folder = QDir::temp().filePath(QStringLiteral("quillet-screenshots"));
    QDir().mkpath(folder);
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
    return image;
}

bool waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

ShellScope::ShellScope()
{
    const QString base = folder();
    for (const char* file : {"Settings.ini", "Events.events"})
        QFile::remove(base + QLatin1String(file));
    for (const char* sub : {"tmp", "Backup", "events"})
        QDir(base + QLatin1String(sub)).removeRecursively();
    setMessageSinkForTests([this](const QString& message) { messages << message; });
    setSystemTrayAvailableForTests(true);
}

ShellScope::~ShellScope()
{
    setMessageSinkForTests({});
    setSystemTrayAvailableForTests(std::nullopt);
}

QString ShellScope::folder() const
{
    return programFolder();
}

std::unique_ptr<TfrmQuillet> ShellScope::start(const QStringList& arguments)
{
    return std::make_unique<TfrmQuillet>(arguments);
}

void ShellScope::setTrayAvailable(bool available)
{
    setSystemTrayAvailableForTests(available);
}

QStringList ShellScope::errors() const
{
    QStringList result = messages;
    result.removeAll(HotKeyMessage);
    return result;
}

} // namespace shell_test
