// The main window's commands as the user finds them: no control in a menu, the tool
// bar, the tray menu or the row menu looks active without doing anything.
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include "AppTestSupport.h"

using testing_support::at;

namespace {

// How many connections a signal has; receivers() is for the sender's own class only.
struct SignalReceivers : QObject {
    static int of(const QObject* Sender, const char* Signal)
    {
        return (Sender->*(&SignalReceivers::receivers))(Signal);
    }
};

// An action does something when something beyond the menus and bars that show it
// listens to it: a stand-in shown in the same places tells how many they bring.
bool hasHandler(QAction* action)
{
    QAction standIn;
    for (QObject* shownIn : action->associatedObjects())
        if (auto* widget = qobject_cast<QWidget*>(shownIn))
            widget->addAction(&standIn);
    const char* triggered = SIGNAL(triggered(bool));
    const bool handled = SignalReceivers::of(action, triggered) > SignalReceivers::of(&standIn, triggered);
    for (QObject* shownIn : action->associatedObjects())
        if (auto* widget = qobject_cast<QWidget*>(shownIn))
            widget->removeAction(&standIn);
    return handled;
}

// The actions of a menu and of its submenus, separators left out.
void collect(QMenu* menu, QList<QAction*>& actions)
{
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        if (action->menu())
            collect(action->menu(), actions);
        else
            actions << action;
    }
}

using MainFormControls = app_testing::MainWindowTest;

TEST_F(MainFormControls, NoActiveControlIsASilentNoOp)
{
    start();
    useEvents({{.when = at(2024, 6, 12, 9), .description = "Dentist"}});
    window->vstEvents->setCurrentIndex(model->index(0, 1)); // the row menu's items act on a row
    emit window->pmnuEventFunctions->aboutToShow();

    QList<QAction*> actions;
    for (QMenu* menu :
         {window->mnuQuillet, window->mnuOptions, window->Help1, window->pmnuTrayMenu, window->pmnuEventFunctions})
        collect(menu, actions);
    // The tool bar holds widgets; its button stands for an action.
    for (QAction* action : window->ToolBar1->actions())
        if (!action->isSeparator() && !qobject_cast<QWidgetAction*>(action))
            actions << action;
    for (QToolButton* button : window->ToolBar1->findChildren<QToolButton*>())
        if (button->defaultAction())
            actions << button->defaultAction();
    ASSERT_GE(actions.size(), 15);

    for (QAction* action : actions) {
        // An item that ticks itself acts through its tick (read where it applies).
        if (!action->isEnabled() || action->isCheckable())
            continue;
        EXPECT_TRUE(hasHandler(action)) << action->objectName().toStdString() << " \"" << action->text().toStdString()
                                        << "\" looks active and does nothing";
    }
}

} // namespace
