#include "LoadDamageReport.h"

#include <QStringList>

#include "platform/GetText.h"

QString loadDamageReport(const TEventList::LoadDamage& Damage, const QString& FileName)
{
    QStringList lines{_("Not all of the event file \"%1\" could be read as it was written:").arg(FileName)};
    if (Damage.SkippedText)
        lines << _("Some of its text could not be read as events and was left out.");
    if (Damage.UnclosedEvent)
        lines << _("An event had no end tag: it was taken to end where the next event begins.");
    if (Damage.ZeroBytes)
        lines << _("It holds zero bytes where part of the file was lost: events there may be incomplete.");
    if (Damage.MixedEncodings)
        lines << _("Some texts were not valid UTF-8 and were read as Windows-1252, the others as UTF-8.");
    return lines.join(QStringLiteral("\r\n"));
}
