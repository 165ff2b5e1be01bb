#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for. Its first argument names the event file, taken as it
// stands; an argument that begins with "-" is an option: --help (-h) and --version are
// answered at once, any other is refused (a file of that name is written "./-name").
struct CommandLine {
    enum class Request { Run, Usage, Version, Refused };
    Request Action = Request::Run;
    QString RefusedOption;
};

// Arguments come without the program's name. Asking for usage or version wins over
// everything else on the line.
CommandLine parseCommandLine(const QStringList& Arguments);

// The usage: the optional event file, the options and the folders this copy uses.
// Reads what the folders would be without making any of them.
QString usageText();

QString versionText();
