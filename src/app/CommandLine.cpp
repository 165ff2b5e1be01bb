#include "CommandLine.h"

#include "platform/CommandFileFolder.h"
#include "platform/ProgramFolder.h"

CommandLine parseCommandLine(const QStringList& Arguments)
{
    CommandLine line;
    for (const QString& argument : Arguments) {
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {CommandLine::Request::Usage, {}};
        if (argument == QLatin1String("--version"))
            return {CommandLine::Request::Version, {}};
        if (argument.startsWith(QLatin1Char('-')) && line.Action == CommandLine::Request::Run)
            line = {CommandLine::Request::Refused, argument};
    }
    return line;
}

QString usageText()
{
    const ProgramFolders folders = chooseProgramFolders(programFolder());
    const QString commandFiles = commandFileFolder();
    return QStringLiteral(
               "Usage: quillet [EVENT-FILE]\n"
               "Reminders and events, with a pop-up in the corner of the screen when they are due.\n"
               "\n"
               "  EVENT-FILE  the event file to open; a name that begins with \"-\" is written ./-name\n"
               "              (default: %1Events.events)\n"
               "  -h, --help  show this help and end\n"
               "  --version   show the version and end\n"
               "Qt's own options, such as -platform or -display, are taken as Qt takes them.\n"
               "\n"
               "Folders:\n"
               "  settings (Settings.ini)         %2\n"
               "  events and their Backup         %1, or the named event file's folder\n"
               "  command files                   %3\n"
               "  catalogues (LOCALE) and sounds  %4\n")
        .arg(folders.EventFile, folders.Settings,
             commandFiles.isEmpty() ? QStringLiteral("(none: no private folder)") : commandFiles,
             folders.ReadOnlyFiles);
}

QString versionText()
{
    return QStringLiteral("Quillet " QUILLET_VERSION "\n");
}
