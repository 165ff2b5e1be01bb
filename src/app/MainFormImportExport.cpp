// Events in and out of the program: merging another event file, and the current
// view as a web page.
#include "MainForm.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUrl>

#include <vector>

#include "ConfirmationBox.h"
#include "FileVersion.h"
#include "InfoDialog.h"
#include "LoadDamageReport.h"
#include "WebLinks.h"
#include "events/DateTimeUtils.h"
#include "events/Exceptions.h"
#include "events/file/Escaping.h"
#include "events/file/FileAccess.h"
#include "platform/DocumentsFolder.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ErrorReport.h"

namespace {

// The file dialogs are built on their first use, as building them would take a
// good share of the start-up, and kept: each remembers its folder.
QFileDialog* makeOpenDialog1(QWidget* Owner)
{
    auto* dialog = new QFileDialog(Owner);
    dialog->setObjectName(QStringLiteral("OpenDialog1"));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

QFileDialog* makeSaveDialog1(QWidget* Owner)
{
    auto* dialog = new QFileDialog(Owner);
    dialog->setObjectName(QStringLiteral("SaveDialog1"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    return dialog;
}

// An installed program keeps its own event file in its data folder, hidden from the
// user: a page or a file to import is looked for in the documents folder instead.
bool inHiddenDataFolder(const QString& EventFileName)
{
    if (EventFileName.isEmpty())
        return true; // kept unsaved, for want of a folder of the user's own
    return !userFilesBesideProgram() && QDir(QFileInfo(EventFileName).absolutePath()) == QDir(eventFileFolder());
}

// An imported file comes from someone else: the commands its events would run at
// their reminder stay off until the user keeps them. They are off while the user is
// asked, so that a save under the question writes them off. Returns the indexes of
// the events switched off, from First on; their command texts stay.
std::vector<int> switchOffCommands(TEventList& Events, int First)
{
    std::vector<int> switched;
    for (int i = First; i < Events.Count(); ++i)
        if (TEvent* event = Events.GetEvent(i); event && event->ExecuteFile) {
            event->ExecuteFile = false;
            switched.push_back(i);
        }
    return switched;
}

void switchOnCommands(TEventList& Events, const std::vector<int>& Indexes)
{
    for (const int i : Indexes)
        if (TEvent* event = Events.GetEvent(i))
            event->ExecuteFile = true;
    Events.Modified = true; // a save under the question may have written them off
}

} // namespace

void TfrmQuillet::buildFileDialogs()
{
    connect(mnuitmImport, &QAction::triggered, this, [this] { reportingErrors([this] { mnuitmImportClick(); }); });
    connect(mnuitmExportToHTML, &QAction::triggered, this,
            [this] { reportingErrors([this] { mnuitmExportToHTMLClick(); }); });
}

void TfrmQuillet::mnuitmImportClick()
{
    if (!OpenDialog1) {
        OpenDialog1 = makeOpenDialog1(this);
        if (inHiddenDataFolder(FFileName))
            OpenDialog1->setDirectory(documentsFolder());
    }
    // The filter's words follow the language.
    OpenDialog1->setNameFilter(_("Event Files") + QStringLiteral(" (*.events)"));
    if (OpenDialog1->exec() != QDialog::Accepted || OpenDialog1->selectedFiles().isEmpty())
        return;
    const QString fileName = OpenDialog1->selectedFiles().first();
    // A file gone meanwhile would read as a first run and add the welcome event;
    // whatever else stands there, the reader refuses with its own reason.
    if (const QString reason = missingFileReason(fileName); !reason.isEmpty())
        throw EFileError(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, reason));

    // A check under the results or the question would notify the imported events that
    // are due, with their commands off, and dismiss them before the user could keep them.
    pauseReminderCheck();
    const auto resume = qScopeGuard([this] { resumeReminderCheck(); });
    const int before = FEventList->Count();
    const bool modified = FEventList->Modified;
    FEventList->LoadFromFile(fileName, true);
    const int added = FEventList->Count() - before;
    // Events lost to damage, or texts read in another encoding, are told with the count.
    const TEventList::LoadDamage damage = FEventList->lastLoadDamage();
    // The merged events reach the event file with the next timed save, not only
    // with the next change.
    FEventList->Modified = modified;
    if (added > 0)
        markChangedForSave();
    const std::vector<int> withCommands = switchOffCommands(*FEventList, before);

    RefreshCategories(true);
    RefreshEventView();

    TfrmInfoDialog dialog(this);
    QString results = _("%d new events imported").replace(QStringLiteral("%d"), QString::number(added));
    if (damage.any())
        results += QStringLiteral("\r\n\r\n") + loadDamageReport(damage, fileName);
    dialog.Execute(_("Import Results"), results);
    if (!withCommands.empty()) {
        const QString question =
            _("%d of the imported events run commands at their reminder. Keep their commands switched on?")
                .replace(QStringLiteral("%d"), QString::number(withCommands.size()));
        if (askConfirmation(this, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
            switchOnCommands(*FEventList, withCommands);
    }
    // Once the user has chosen: an imported reminder shows with its commands as kept.
    followChangedEvents();
}

void TfrmQuillet::mnuitmExportToHTMLClick()
{
    if (!SaveDialog1)
        SaveDialog1 = makeSaveDialog1(this);
    const QString preset = exportFileName(FFileName.isEmpty() ? QStringLiteral("Events.events") : FFileName);
    SaveDialog1->selectFile(inHiddenDataFolder(FFileName) ? documentsFolder() + QFileInfo(preset).fileName() : preset);
    SaveDialog1->setNameFilter(QStringLiteral("HTML File (*.html)"));
    if (SaveDialog1->exec() != QDialog::Accepted || SaveDialog1->selectedFiles().isEmpty())
        return;
    const QString fileName = SaveDialog1->selectedFiles().first();

    const QString footer = formatDateTime(QStringLiteral("dddddd tt"), Now()) + QStringLiteral("<br>") +
                           QStringLiteral("<a href=\"%1\">%1</a>").arg(weblinks::WebSite);
    // The view's name may hold "&" ("For This Month & Next").
    const QString header = escapeMarkup(_("View") + QStringLiteral(": ") + cboEventView->currentText());
    const QString title = escapeMarkup(_("Quillet"));
    FEventList->ExportToHTML(FEventView, title, header, footer, fileName);

    OpenWebLink(QUrl::fromLocalFile(fileName).toString());
}
