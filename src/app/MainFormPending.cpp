// Stand-in bodies of main-window routines that are not fully built yet. Each does
// what the program can already do, and moves out of this file when its full
// version is written.
#include "MainForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QMenu>
#include <QScreen>

#define SI_IMPLEMENTATION
#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <string>

#include "controls/CalendarX.h"
#include "events/Exceptions.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"

namespace {

QString settingsFileName()
{
    return programFolder() + QStringLiteral("Settings.ini");
}

// Reads Settings.ini; a missing or unreadable file reads as empty.
void loadIni(CSimpleIniA& ini, const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size()));
}

int readInteger(const CSimpleIniA& ini, const char* section, const char* key, int defaultValue)
{
    return static_cast<int>(ini.GetLongValue(section, key, defaultValue));
}

} // namespace

// For now only the window's place, its size and whether it starts hidden in the tray.
void TfrmQuillet::LoadSettings()
{
    CSimpleIniA ini;
    loadIni(ini, settingsFileName());
    SetLanguage(QString());

    const int screenWidth = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size().width() : 0;
    const int left = readInteger(ini, "POSITION", "MainWindowX", (screenWidth - width()) / 2);
    const int top = readInteger(ini, "POSITION", "MainWindowY", y());
    const int w = readInteger(ini, "SIZE", "MainWindowWidth", width());
    const int h = readInteger(ini, "SIZE", "MainWindowHeight", height());
    // The position is the frame's, the size the client area's, as they are saved.
    resize(w, h);
    move(left, top);

    if (readInteger(ini, "START UP", "Minimized", 0) != 0)
        HideMainWindow();
    else
        ShowMainWindow();
}

// For now only the window's place, its size and whether it is hidden.
void TfrmQuillet::SaveSettings()
{
    const QString fileName = settingsFileName();
    CSimpleIniA ini;
    ini.SetSpaces(false);
    loadIni(ini, fileName); // the other settings in the file stay as they are
    ini.SetLongValue("START UP", "Minimized", isVisible() ? 0 : 1);
    ini.SetLongValue("POSITION", "MainWindowX", x());
    ini.SetLongValue("POSITION", "MainWindowY", y());
    ini.SetLongValue("SIZE", "MainWindowWidth", width());
    ini.SetLongValue("SIZE", "MainWindowHeight", height());
    std::string text;
    ini.Save(text);
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.flush())
        throw EFileError(QStringLiteral("Unable to write to %1").arg(fileName));
}

// Only the "Default" item until the translations come.
void TfrmQuillet::BuildLanguageMenu()
{
    mnuitmLanguage->clear();
    auto* item = mnuitmLanguage->addAction(QStringLiteral("Default"));
    item->setCheckable(true);
    item->setChecked(true);
    FLanguageCodes = {QLocale::system().name().section(QLatin1Char('_'), 0, 0)};
}

// The current language stays; the view names are filled in it.
void TfrmQuillet::SetLanguage(const QString&)
{
    const int selected = cboEventView->currentIndex();
    cboEventView->clear();
    for (const char* name :
         {"[All Events]", "For The Day", "For The Week", "For The Next 7 Days", "For The Next 14 Days", "For The Month",
          "For This Month & Next", "For The Next 2 Months", "For The Year", "Expired Events"})
        cboEventView->addItem(_(name));
    cboEventView->setCurrentIndex(selected > 0 ? selected : 0);
}

// Does nothing yet: the window's texts pass through _() as they are set.
void TfrmQuillet::TranslateWindow() {}
