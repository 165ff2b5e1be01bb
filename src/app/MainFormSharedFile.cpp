// Commands in an event file that other users may change: another user could put a
// command there that would run as this user at its reminder. Like those of an
// imported file, they run only once the user has seen them and said yes.
#include "MainForm.h"

#include <QStringList>

#include "ConfirmationBox.h"
#include "platform/GetText.h"
#include "platform/OthersWhoMayChange.h"

namespace {

// Each event's description, then its command lines, indented.
QString listOfCommands(const std::vector<TEvent*>& Events)
{
    QStringList entries;
    for (const TEvent* event : Events) {
        QString entry = event->Description + QLatin1Char(':');
        for (const QString& line : event->CmdsToExecute.split(QLatin1Char('\n')))
            if (const QString command = line.trimmed(); !command.isEmpty())
                entry += QStringLiteral("\r\n    ") + command;
        entries << entry;
    }
    return entries.join(QStringLiteral("\r\n"));
}

} // namespace

void TfrmQuillet::askAboutCommandsOthersMayChange()
{
    if (FFileName.isEmpty())
        return; // a list kept unsaved holds only what this run put there
    std::vector<TEvent*> withCommands;
    for (int i = 0; i < FEventList->Count(); ++i)
        if (TEvent* event = FEventList->GetEvent(i);
            event && event->ExecuteFile && !event->CmdsToExecute.trimmed().isEmpty())
            withCommands.push_back(event);
    if (withCommands.empty())
        return;
    const OtherWriters others = othersWhoMayChange(FFileName);
    if (!others.any())
        return;
    // Held while the user is asked: nothing runs them before the answer.
    for (TEvent* event : withCommands)
        event->CommandsHeld = true;
    const QString who = others.Everyone ? _("everyone") : others.Users.join(QStringLiteral(", "));
    const QString paragraph = QStringLiteral("\r\n\r\n");
    const QString question =
        _("The event file \"%1\" may also be changed by %2. Its events run these commands at their reminder:")
            .arg(FFileName, who) +
        paragraph + listOfCommands(withCommands) + paragraph +
        _("Run them? No keeps them off until Quillet starts again, and leaves the file as it is.");
    if (askConfirmation(this, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        for (TEvent* event : withCommands)
            event->CommandsHeld = false;
}
