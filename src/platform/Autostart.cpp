#include "Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "WholeWrite.h"
#include "XdgFolders.h"

namespace autostart {

QString entryFileName()
{
    QString config = xdgFolder("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/Quillet.desktop");
}

bool entryExists()
{
    return QFileInfo::exists(entryFileName());
}

QString execLine(const QString& ProgramPath)
{
    // Inside double quotes, ", `, $ and \ take a backslash; then the value's own
    // escapes double every backslash; a % is written %%.
    QString quoted;
    for (const QChar c : ProgramPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    quoted.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool writeEntry(const QString& ProgramPath)
{
    const QString fileName = entryFileName();
    if (!QDir().mkpath(QFileInfo(fileName).absolutePath()))
        return false;
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Quillet\n"
                                        "Comment=Reminders and events\n"
                                        "Exec=%1\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execLine(ProgramPath));
    QSaveFile file(fileName);
    // Unbuffered, as a write that failed when commit flushed it would go unnoticed
    // and leave a cut entry (a full disk).
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    return writeWhole(file, text.toUtf8()) && file.commit();
}

bool removeEntry()
{
    const QString fileName = entryFileName();
    return !QFileInfo::exists(fileName) || QFile::remove(fileName);
}

} // namespace autostart
