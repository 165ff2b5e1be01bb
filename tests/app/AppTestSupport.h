#pragma once

// The main window's world for a test: the real window on a fixed clock, in a program
// folder without settings, event file or command files, with a tray that exists and
// message boxes collected instead of shown. Brings the Qt test tools the window tests use.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "../dialogs/TestEvent.h"
#include "TestSupport.h"
#include "app/EventViewModel.h"
#include "app/MainForm.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ErrorReport.h"
#include "platform/gui/SystemTray.h"

namespace app_testing {

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        QFile::remove(folder + "Settings.ini");
        QFile::remove(folder + "Events.events");
        for (const char* sub : {"tmp", "Backup", "events"})
            QDir(folder + sub).removeRecursively();
        // Recovery files and notices of an earlier test's exit.
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        setMessageSinkForTests([this](const QString& message) { messages << message; });
        setSystemTrayAvailableForTests(true);
    }
    ~MainWindowTest() override
    {
        window.reset();
        setMessageSinkForTests({});
        setSystemTrayAvailableForTests(std::nullopt);
    }

    // Writes the widget's picture to the temporary folder for a look, as quillet-<name>.png.
    static void screenshot(QWidget& widget, const QString& name)
    {
        widget.grab().save(QDir::temp().filePath("quillet-" + name + ".png"));
    }
    // Starts the main window as the program does with these command-line arguments.
    TfrmQuillet& start(const QStringList& arguments = {})
    {
        window.reset();
        window = std::make_unique<TfrmQuillet>(arguments);
        model = window->FEventViewModel;
        return *window;
    }
    // The window's event list holds exactly these events; the list is refreshed.
    void useEvents(const std::vector<TestEvent>& events)
    {
        while (window->FEventList->Count() > 0)
            window->FEventList->DeleteEvent(0);
        for (const TestEvent& event : events)
            event.addTo(*window->FEventList);
        window->RefreshEventView();
    }
    void chooseView(int index)
    {
        window->cboEventView->setCurrentIndex(index);
        window->cboEventViewChange();
    }
    QStringList shownDescriptions() const
    {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, EventViewModel::ColEvent).data().toString();
        return texts;
    }
    // The selected row, -1 when none.
    int selectedRow() const
    {
        const QModelIndexList selected = window->vstEvents->selectionModel()->selectedRows();
        return selected.isEmpty() ? -1 : selected.first().row();
    }

    const QString folder = programFolder();
    testing_support::ClockOverride clock{testing_support::at(2024, 6, 12, 8)}; // a Wednesday
    QStringList messages;
    std::unique_ptr<TfrmQuillet> window;
    EventViewModel* model = nullptr;
};

} // namespace app_testing
