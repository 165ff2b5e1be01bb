#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QStringList>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "TestEvent.h"
#include "TestSupport.h"
#include "app/EventViewModel.h"
#include "app/MainForm.h"
#include "controls/CalendarX.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ErrorReport.h"

namespace app_testing {

// The real main window on a fixed clock, with an event file of its own. Message
// boxes are collected instead of shown.
class MainWindowFixture : public ::testing::Test {
protected:
    explicit MainWindowFixture(TDateTime now = testing_support::at(2024, 6, 12, 8)) : clock(now) {}

    void SetUp() override
    {
        setMessageSinkForTests([this](const QString& message) { messages << message; });
        window = std::make_unique<TfrmQuillet>(QStringList{programFolder() + QStringLiteral("Events.events")});
        model = window->FEventViewModel;
    }

    void TearDown() override
    {
        window.reset();
        setMessageSinkForTests({});
    }

    // The window's event list holds exactly these events; the list is refreshed.
    void useEvents(const std::vector<TestEvent>& events)
    {
        TEventList& list = *window->FEventList;
        while (list.Count() > 0)
            list.DeleteEvent(list.Count() - 1);
        for (const TestEvent& event : events)
            event.addTo(list);
        window->RefreshEventView();
    }

    // The category check list holds these names, the given ones checked.
    void useCategories(const QStringList& names, const QStringList& checked = {})
    {
        window->clstCategories->clear();
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(name, window->clstCategories);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(checked.contains(name) ? Qt::Checked : Qt::Unchecked);
        }
    }

    void selectDay(TDateTime day) { window->CalendarX1->SetSelectedDate(day); }
    void chooseView(int index)
    {
        window->cboEventView->setCurrentIndex(index);
        window->cboEventViewChange();
    }

    int rows() const { return model->rowCount(); }
    std::vector<TDateTime> shownDates() const
    {
        std::vector<TDateTime> dates;
        for (int row = 0; row < rows(); ++row)
            dates.push_back(model->occurrenceDateTime(row));
        return dates;
    }
    QStringList shownDescriptions() const
    {
        QStringList texts;
        for (int row = 0; row < rows(); ++row)
            texts << model->index(row, EventViewModel::ColEvent).data().toString();
        return texts;
    }
    // The selected row, -1 when none.
    int selectedRow() const
    {
        const QModelIndexList selected = window->vstEvents->selectionModel()->selectedRows();
        return selected.isEmpty() ? -1 : selected.first().row();
    }
    int topRow() const { return window->vstEvents->indexAt(QPoint(0, 0)).row(); }

    testing_support::ClockOverride clock;
    QStringList messages;
    std::unique_ptr<TfrmQuillet> window;
    EventViewModel* model = nullptr;
};

} // namespace app_testing
