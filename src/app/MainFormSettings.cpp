// The user's settings: Settings.ini (beside the program, or in the
// user's configuration folder when installed), read once at start-up and
// written at a real exit, and the choice to start at login.
#include "MainForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QScopeGuard>
#include <QScreen>
#include <QSet>
#include <QSignalBlocker>
#include <QTreeView>

#include <algorithm>
#include <cstdint>

#include "EventViewModel.h"
#include "IniFile.h"
#include "UserFolder.h"
#include "WindowPlacement.h"
#include "events/Exceptions.h"
#include "platform/Autostart.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

namespace {

constexpr int DefaultPopupAlpha = 220;

// Empty when no folder of the user's own is left for it: the start said so.
QString settingsFileName()
{
    const QString folder = settingsFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("Settings.ini");
}

// The stored columns of the event list with their keys, in the order of reading and writing.
struct StoredColumn {
    int Column;
    const char* Key;
};
const StoredColumn StoredColumns[] = {{EventViewModel::ColWhen, "Next Event"},
                                      {EventViewModel::ColCountdown, "Countdown"},
                                      {EventViewModel::ColEvent, "Event"},
                                      {EventViewModel::ColCategory, "Category"}};

// The hourglass while Body runs, also when it raises.
template <typename Body> void withWaitCursor(Body&& body)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    body();
}

} // namespace

void TfrmQuillet::LoadSettings()
{
    withWaitCursor([this] {
        IniFile ini;
        if (const QString fileName = settingsFileName(); !fileName.isEmpty())
            ini.load(fileName);

        SetLanguage(ini.readString("LOCALE", "code", translation::systemLanguageCode()));

        const QScreen* primary = QGuiApplication::primaryScreen();
        const int screenWidth = primary ? primary->size().width() : 0;
        const int left = ini.readInteger("POSITION", "MainWindowX", (screenWidth - width()) / 2);
        const int top = ini.readInteger("POSITION", "MainWindowY", y());
        const int w = ini.readInteger("SIZE", "MainWindowWidth", width());
        const int h = ini.readInteger("SIZE", "MainWindowHeight", height());
        // The position is the frame's, the size the client area's, as they are saved.
        // A size beyond the screen (hand-edited) would cost gigabytes of window memory,
        // and a place on a screen that is gone (a laptop undocked) comes back onto the
        // nearest one. The first run's place is the program's: all of the window shows.
        const bool placeSaved = !ini.readString("POSITION", "MainWindowX", QString()).isEmpty() ||
                                !ini.readString("POSITION", "MainWindowY", QString()).isEmpty();
        placeWindowOnScreen(*this, QPoint(left, top), QSize(w, h), placeSaved ? Showing::TitleBar : Showing::Whole);

        // An index that names no view leaves the box without a selection.
        const int view = ini.readInteger("EVENT VIEW", "Index", 0);
        cboEventView->setCurrentIndex(view >= 0 && view < cboEventView->count() ? view : -1);

        // Ticked exactly when some line names the item, in the same letter case; no
        // lines keep the ticks as they are.
        const QStringList lines = ini.readSectionValues("SELECTED CATEGORIES");
        if (!lines.isEmpty()) {
            // An import ticks every name it brings, so there may be many thousands:
            // each is looked up once, the list is repainted once, and the view is
            // filled once, after the settings (the list's model tells no one of each tick).
            const QSet<QString> ticked(lines.cbegin(), lines.cend());
            {
                const QSignalBlocker blocker(clstCategories->model());
                for (int i = 0; i < clstCategories->count(); ++i) {
                    QListWidgetItem* item = clstCategories->item(i);
                    item->setCheckState(ticked.contains(item->text()) ? Qt::Checked : Qt::Unchecked);
                }
            }
            clstCategories->viewport()->update();
        }

        // A column wider than the screen (a damaged file) would push the others out of reach.
        const int widest = screen()->availableGeometry().width();
        QHeaderView* header = vstEvents->header();
        for (const StoredColumn& column : StoredColumns)
            header->resizeSection(
                column.Column,
                std::clamp(ini.readInteger("COLUMNS", column.Key, header->sectionSize(column.Column)), 0, widest));

        if (ini.readBool("START UP", "Minimized", false))
            HideMainWindow();
        else
            ShowMainWindow();

        mnuitmOnlyEnabledEvents->setChecked(ini.readBool("OPTIONS", "ShowOnlyEnabled", true));
        // Above a byte is fully opaque. Below it is no opacity anyone chose: brought to 0
        // it would make the pop-up invisible.
        const int alpha = ini.readInteger("OPTIONS", "NotifyWindowPopupAlpha", DefaultPopupAlpha);
        FNotifyWindowPopupAlpha = static_cast<std::uint8_t>(alpha < 0 ? DefaultPopupAlpha : std::min(alpha, 255));

        mnuitmStartWithWindows->setChecked(autostart::entryExists());
    });
}

// Settings.ini in Folder, made when missing.
void TfrmQuillet::saveSettingsIn(const QString& Folder)
{
    makeUserFolder(Folder);
    const QString fileName = Folder + QStringLiteral("Settings.ini");
    IniFile ini;
    ini.load(fileName); // keys this routine does not write (the language) stay as they are

    ini.writeBool("START UP", "Minimized", !isVisible());
    ini.writeInteger("POSITION", "MainWindowX", x());
    ini.writeInteger("POSITION", "MainWindowY", y());
    ini.writeInteger("SIZE", "MainWindowWidth", width());
    ini.writeInteger("SIZE", "MainWindowHeight", height());
    ini.writeInteger("EVENT VIEW", "Index", cboEventView->currentIndex());

    ini.eraseSection("SELECTED CATEGORIES");
    int counter = 0;
    for (int i = 0; i < clstCategories->count(); ++i)
        if (clstCategories->item(i)->checkState() == Qt::Checked)
            ini.writeString("SELECTED CATEGORIES", QStringLiteral("Category%1").arg(++counter).toLatin1().constData(),
                            clstCategories->item(i)->text());

    const QHeaderView* header = vstEvents->header();
    for (const StoredColumn& column : StoredColumns)
        ini.writeInteger("COLUMNS", column.Key, header->sectionSize(column.Column));

    ini.writeBool("OPTIONS", "ShowOnlyEnabled", mnuitmOnlyEnabledEvents->isChecked());
    ini.writeInteger("OPTIONS", "NotifyWindowPopupAlpha", FNotifyWindowPopupAlpha);
    ini.save(fileName);
}

void TfrmQuillet::SaveSettings()
{
    withWaitCursor([this] {
        // Without a folder of the user's own the start said the settings are not saved.
        if (const QString folder = chooseProgramFolders(programFolder()).Settings; !folder.isEmpty())
            saveSettingsIn(folder);

        // An entry that exists is kept whatever it holds (the program may have moved since).
        if (mnuitmStartWithWindows->isChecked()) {
            if (!autostart::entryExists() && !autostart::writeEntry(QCoreApplication::applicationFilePath()))
                throw EFileError(QStringLiteral("Unable to write to %1").arg(autostart::entryFileName()));
        } else if (!autostart::removeEntry()) {
            throw EFileError(QStringLiteral("Unable to remove %1").arg(autostart::entryFileName()));
        }
    });
}
