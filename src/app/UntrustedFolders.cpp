#include "UntrustedFolders.h"

#include <QStringList>

#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

QString untrustedFoldersReport(const ProgramFolders& Folders, bool EventFileNamed)
{
    QStringList report;
    for (const QString& folder : Folders.Refused)
        report << _("Other users may change the folder \"%1\", so Quillet uses no file from it.").arg(folder);
    if (Folders.EventFile.isEmpty() && !EventFileNamed)
        report << _("No folder of your own is left for your events: Quillet runs without saving them.");
    if (Folders.Settings.isEmpty())
        report << _("No folder of your own is left for your settings: Quillet runs without saving them.");
    return report.join(QStringLiteral("\r\n\r\n"));
}
