#include "MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "About.h"
#include "AppResources.h"
#include "EventViewModel.h"
#include "FileVersion.h"
#include "HintTiming.h"
#include "LoadDamageReport.h"
#include "RecoveryFile.h"
#include "Splash.h"
#include "UntrustedFolders.h"
#include "WebLinks.h"
#include "controls/CalendarX.h"
#include "controls/DropDownControl.h"
#include "dialogs/EventNotify.h"
#include "events/Exceptions.h"
#include "platform/FileLock.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"
#include "platform/gui/ActiveWindow.h"
#include "platform/gui/ClipboardWatcher.h"
#include "platform/gui/ErrorReport.h"
#include "platform/gui/HotKey.h"
#include "platform/gui/KeySynthesizer.h"
#include "platform/gui/SystemTray.h"
#include "platform/gui/TerminationSignals.h"

namespace {

// A white list with black names whatever the desktop's colours; only a selected
// name keeps the desktop's selection colours. Some styles (Fusion) draw the frame
// of a check box a shade darker than the window colour: a mid grey keeps it plain
// on the white.
QPalette whiteListColours(const QPalette& Desktop)
{
    QPalette white(QColor(0xB4, 0xB4, 0xB4));
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Text, Qt::black);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
            white.setColor(group, role, Desktop.color(group, role));
    return white;
}

QAction* makeAction(const QString& name, const QString& text, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(name);
    return action;
}

QMenu* makeMenu(const QString& name, const QString& title, QWidget* parent)
{
    auto* menu = new QMenu(title, parent);
    menu->setObjectName(name);
    return menu;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64, 256})
        icon.addFile(QStringLiteral(":/images/quillet-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

TfrmQuillet::TfrmQuillet(const QStringList& Arguments, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmQuillet"));
    // The system's language until the settings name one, so that a first run's
    // categories and welcome event are stored in it.
    if (!translation::setLanguage(translation::systemLanguageCode()))
        translation::setLanguage(QString());
    ensureAppResources();
    setWindowTitle(_("Quillet"));
    QApplication::setWindowIcon(programIcon()); // for the dialogs too
    setWindowIcon(programIcon());
    setFont(arialFont(11));
    setMinimumSize(480, 200);

    buildActions();
    buildMenus();
    buildTrayIcon();
    buildToolBar();
    buildClientArea();
    buildTimers();
    buildFileDialogs();
    setupEventList();
    setupViewsAndFilters();
    setupCalendarStrip();
    setupClock();
    setupCategories();
    setupEventCommands();

    // The client area is 822 x 622 below the menu bar; the first-run top is 225.
    resize(822, 622 + mnuMainMenu->sizeHint().height());
    move(x(), 225);

    useClipboardWatcher(createSystemClipboardWatcher());
    FHotKey = createSystemHotKey();
    connect(FHotKey.get(), &HotKey::pressed, this, [this] { reportingErrors([this] { WMHotKey(); }); });
    FActiveWindow = createSystemActiveWindowQuery();
    FKeySynthesizer = createSystemKeySynthesizer();
    FTerminationSignals = new TerminationSignals(this);
    connect(FTerminationSignals, &TerminationSignals::received, this, &TfrmQuillet::ApplicationEvents1Message);
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TfrmQuillet::onCommitDataRequest, Qt::DirectConnection);

    FFileName = Arguments.value(0);
    // A failing step ends FormCreate and is reported; the window still exists and
    // the program runs on in the notification area.
    reportingErrors([this] { FormCreate(); });
}

TfrmQuillet::~TfrmQuillet()
{
    FormDestroy();
}

void TfrmQuillet::buildActions()
{
    actNewEvent = makeAction(QStringLiteral("actNewEvent"), _("New Event"), this);
    actNewEvent->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    actNewEvent->setIcon(QIcon(QStringLiteral(":/images/new-event.png")));
    actShowHide = makeAction(QStringLiteral("actShowHide"), _("Show/Hide"), this);
    actEditEvent = makeAction(QStringLiteral("actEditEvent"), _("Edit Event"), this);
    actExit = makeAction(QStringLiteral("actExit"), _("Exit"), this);
    actDeleteSelectedEvent = makeAction(QStringLiteral("actDeleteSelectedEvent"), _("Delete"), this);
    addActions({actNewEvent, actEditEvent, actDeleteSelectedEvent}); // their short-cuts work in the whole window

    connect(actShowHide, &QAction::triggered, this, &TfrmQuillet::actShowHideExecute);
    connect(actExit, &QAction::triggered, this, &TfrmQuillet::actExitExecute);
}

void TfrmQuillet::buildMenus()
{
    mnuMainMenu = menuBar();
    mnuMainMenu->setObjectName(QStringLiteral("mnuMainMenu"));

    mnuQuillet = makeMenu(QStringLiteral("mnuQuillet"), _("Quillet"), this);
    mnuitmNewEvent = actNewEvent;
    mnuitmImport = makeAction(QStringLiteral("mnuitmImport"), _("Import..."), this);
    mnuitmExportToHTML = makeAction(QStringLiteral("mnuitmExportToHTML"), _("Export To HTML..."), this);
    mnuitmExit = actExit;
    mnuQuillet->addAction(mnuitmNewEvent);
    mnuQuillet->addSeparator();
    mnuQuillet->addAction(mnuitmImport);
    mnuQuillet->addAction(mnuitmExportToHTML);
    mnuQuillet->addSeparator();
    mnuQuillet->addAction(mnuitmExit);

    mnuOptions = makeMenu(QStringLiteral("mnuOptions"), _("Options"), this);
    // "Start With Windows" would tell a Linux user something false.
    mnuitmStartWithWindows = makeAction(QStringLiteral("mnuitmStartWithWindows"), _("Start at Login"), this);
    mnuitmStartWithWindows->setCheckable(true);
    mnuitmOnlyEnabledEvents =
        makeAction(QStringLiteral("mnuitmOnlyEnabledEvents"), _("Show Only Enabled Events"), this);
    mnuitmOnlyEnabledEvents->setCheckable(true);
    mnuitmOnlyEnabledEvents->setChecked(true);
    mnuitmLanguage = makeMenu(QStringLiteral("mnuitmLanguage"), _("Language"), this);
    mnuOptions->addAction(mnuitmStartWithWindows);
    mnuOptions->addAction(mnuitmOnlyEnabledEvents);
    mnuOptions->addMenu(mnuitmLanguage);

    Help1 = makeMenu(QStringLiteral("Help1"), _("Help"), this);
    mnuitmDonate = makeAction(QStringLiteral("mnuitmDonate"), _("Donate"), this);
    mnuitmWebSite = makeAction(QStringLiteral("mnuitmWebSite"), _("Web Site"), this);
    mnuitmForum = makeAction(QStringLiteral("mnuitmForum"), _("Forum"), this);
    mnuitmUpdates = makeAction(QStringLiteral("mnuitmUpdates"), _("Updates"), this);
    About1 = makeAction(QStringLiteral("About1"), _("About"), this);
    Help1->addAction(mnuitmDonate);
    Help1->addSeparator();
    Help1->addAction(mnuitmWebSite);
    Help1->addAction(mnuitmForum);
    Help1->addSeparator();
    Help1->addAction(mnuitmUpdates);
    Help1->addSeparator();
    Help1->addAction(About1);
    connect(mnuitmDonate, &QAction::triggered, this, &TfrmQuillet::mnuitmDonateClick);
    connect(mnuitmWebSite, &QAction::triggered, this, &TfrmQuillet::mnuitmWebSiteClick);
    connect(mnuitmForum, &QAction::triggered, this, &TfrmQuillet::mnuitmForumClick);
    connect(mnuitmUpdates, &QAction::triggered, this, &TfrmQuillet::mnuitmUpdatesClick);
    connect(About1, &QAction::triggered, this, &TfrmQuillet::About1Click);

    mnuMainMenu->addMenu(mnuQuillet);
    mnuMainMenu->addMenu(mnuOptions);
    mnuMainMenu->addMenu(Help1);

    // The row menu of the event list; its items stand for the commands under other captions.
    pmnuEventFunctions = makeMenu(QStringLiteral("pmnuEventFunctions"), QString(), this);
    mnuitmEditEvent = makeAction(QStringLiteral("mnuitmEditEvent"), _("Edit"), this);
    QFont bold = mnuitmEditEvent->font();
    bold.setBold(true);
    mnuitmEditEvent->setFont(bold); // the default item
    mnuitmMoveEvent = makeMenu(QStringLiteral("mnuitmMoveEvent"), _("Move"), this);
    mnuitmMoveToToday = makeAction(QStringLiteral("mnuitmMoveToToday"), _("To today"), this);
    mnuitmMoveFwd1Day = makeAction(QStringLiteral("mnuitmMoveFwd1Day"), _("Forward one day"), this);
    mnuitmMoveFwd1Week = makeAction(QStringLiteral("mnuitmMoveFwd1Week"), _("Forward one week"), this);
    mnuitmEnableEvent = makeAction(QStringLiteral("mnuitmEnableEvent"), _("Enable"), this);
    mnuitmDeleteEvent = makeAction(QStringLiteral("mnuitmDeleteEvent"), _("Delete"), this);
    mnuitmMoveEvent->addAction(mnuitmMoveToToday);
    mnuitmMoveEvent->addSeparator();
    mnuitmMoveEvent->addAction(mnuitmMoveFwd1Day);
    mnuitmMoveEvent->addAction(mnuitmMoveFwd1Week);
    pmnuEventFunctions->addAction(mnuitmEditEvent);
    pmnuEventFunctions->addSeparator();
    pmnuEventFunctions->addMenu(mnuitmMoveEvent);
    pmnuEventFunctions->addSeparator();
    pmnuEventFunctions->addAction(mnuitmEnableEvent);
    pmnuEventFunctions->addSeparator();
    pmnuEventFunctions->addAction(mnuitmDeleteEvent);
    connect(mnuitmEditEvent, &QAction::triggered, actEditEvent, &QAction::trigger);
    connect(mnuitmDeleteEvent, &QAction::triggered, actDeleteSelectedEvent, &QAction::trigger);
}

void TfrmQuillet::buildTrayIcon()
{
    pmnuTrayMenu = makeMenu(QStringLiteral("pmnuTrayMenu"), QString(), this);
    pmnuitmShowHide = actShowHide;
    pmnuitmAddNewEvent = actNewEvent;
    pmnuitmExit = actExit;
    QFont bold = actShowHide->font();
    bold.setBold(true);
    actShowHide->setFont(bold); // the default item
    pmnuTrayMenu->addAction(pmnuitmShowHide);
    pmnuTrayMenu->addSeparator();
    pmnuTrayMenu->addAction(pmnuitmAddNewEvent);
    pmnuTrayMenu->addSeparator();
    pmnuTrayMenu->addAction(pmnuitmExit);
    pmnuTrayMenu->setDefaultAction(pmnuitmShowHide);

    TrayIcon1 = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->setToolTip(QStringLiteral("Quillet"));
    TrayIcon1->setContextMenu(pmnuTrayMenu);
    connect(TrayIcon1, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason Reason) {
        if (Reason == QSystemTrayIcon::Trigger)
            actShowHideExecute();
    });
    TrayIcon1->show();
}

void TfrmQuillet::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->toggleViewAction()->setVisible(false);
    ToolBar1->setIconSize(QSize(24, 24));
    addToolBar(Qt::TopToolBarArea, ToolBar1);

    tbtnNewEvent = new QToolButton(ToolBar1);
    tbtnNewEvent->setObjectName(QStringLiteral("tbtnNewEvent"));
    tbtnNewEvent->setDefaultAction(actNewEvent);
    tbtnNewEvent->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbtnNewEvent->setAutoRaise(true);
    ToolBar1->addWidget(tbtnNewEvent);
    ToolBar1->addSeparator();

    lblView = new QLabel(_("View:"), ToolBar1);
    lblView->setObjectName(QStringLiteral("lblView"));
    lblView->setContentsMargins(6, 0, 6, 0);
    ToolBar1->addWidget(lblView);
    cboEventView = new QComboBox(ToolBar1);
    cboEventView->setObjectName(QStringLiteral("cboEventView"));
    cboEventView->setMaxVisibleItems(20);
    cboEventView->setMinimumWidth(180);
    ToolBar1->addWidget(cboEventView);
}

// The event list, and beside it the side panel with the filters and the calendar strip.
void TfrmQuillet::buildClientArea()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("panClient"));
    setCentralWidget(central);

    vstEvents = new QTreeView(central);
    vstEvents->setObjectName(QStringLiteral("vstEvents"));
    vstEvents->setRootIsDecorated(false);
    vstEvents->setUniformRowHeights(false);
    vstEvents->setContextMenuPolicy(Qt::CustomContextMenu);

    panSidePanel = new QWidget(central);
    panSidePanel->setObjectName(QStringLiteral("panSidePanel"));
    panSidePanel->setFixedWidth(234);

    DropDownX2 = new TDropDownX(central);
    DropDownX2->setObjectName(QStringLiteral("DropDownX2"));
    DropDownX2->setFixedWidth(18);
    DropDownX2->SetCaptionRotation(TDropDownTextRotate::Ninety);
    DropDownX2->SetUncollapsedCaption(_("Click to hide side panel"));
    DropDownX2->SetCollapsedCaption(_("Click to show side panel"));
    DropDownX2->SetControl(panSidePanel);

    DropDownX1 = new TDropDownX(panSidePanel);
    DropDownX1->setObjectName(QStringLiteral("DropDownX1"));
    DropDownX1->setFixedHeight(18);
    DropDownX1->SetUncollapsedCaption(_("Click to hide filters"));
    DropDownX1->SetCollapsedCaption(_("Click to show filters"));

    pcFilters = new QTabWidget(panSidePanel);
    pcFilters->setObjectName(QStringLiteral("pcFilters"));
    pcFilters->setMaximumHeight(170); // and less when the window is too low for it
    DropDownX1->SetControl(pcFilters);

    tsFilterCategory = new QWidget;
    tsFilterCategory->setObjectName(QStringLiteral("tsFilterCategory"));
    clstCategories = new QListWidget(tsFilterCategory);
    clstCategories->setObjectName(QStringLiteral("clstCategories"));
    clstCategories->setSortingEnabled(true);
    clstCategories->setFrameShape(QFrame::NoFrame);
    clstCategories->setSelectionMode(QAbstractItemView::SingleSelection);
    clstCategories->setMinimumHeight(2 * clstCategories->fontMetrics().height()); // it scrolls
    clstCategories->setPalette(whiteListColours(clstCategories->palette()));
    sbtnCatAdd = new QToolButton(tsFilterCategory);
    sbtnCatAdd->setObjectName(QStringLiteral("sbtnCatAdd"));
    sbtnCatAdd->setText(QStringLiteral("+"));
    sbtnCatDel = new QToolButton(tsFilterCategory);
    sbtnCatDel->setObjectName(QStringLiteral("sbtnCatDel"));
    sbtnCatDel->setText(QStringLiteral("-"));
    for (QToolButton* button : {sbtnCatAdd, sbtnCatDel}) {
        button->setAutoRaise(true);
        button->setFixedSize(21, 17);
    }
    auto* categoryButtons = new QHBoxLayout;
    categoryButtons->setContentsMargins(0, 0, 0, 0);
    categoryButtons->setSpacing(0);
    categoryButtons->addWidget(sbtnCatAdd);
    categoryButtons->addWidget(sbtnCatDel);
    categoryButtons->addStretch();
    auto* categoryPage = new QVBoxLayout(tsFilterCategory);
    categoryPage->setContentsMargins(2, 2, 2, 2);
    categoryPage->setSpacing(2);
    categoryPage->addWidget(clstCategories, 1);
    categoryPage->addLayout(categoryButtons);
    pcFilters->addTab(tsFilterCategory, _("Categories"));

    tsFilterImportance = new QWidget;
    tsFilterImportance->setObjectName(QStringLiteral("tsFilterImportance"));
    // The boxes scroll when the window is too low for all four.
    auto* importanceArea = new QScrollArea(tsFilterImportance);
    importanceArea->setObjectName(QStringLiteral("importanceArea"));
    importanceArea->setFrameShape(QFrame::NoFrame);
    importanceArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    importanceArea->setWidgetResizable(true);
    importanceArea->setMinimumHeight(0);
    auto* importanceBoxes = new QWidget;
    importanceBoxes->setObjectName(QStringLiteral("importanceBoxes"));
    chkFilterImpHighest = new QCheckBox(_("Highest"), importanceBoxes);
    chkFilterImpHighest->setObjectName(QStringLiteral("chkFilterImpHighest"));
    chkFilterImpHigh = new QCheckBox(_("High"), importanceBoxes);
    chkFilterImpHigh->setObjectName(QStringLiteral("chkFilterImpHigh"));
    chkFilterImpNormal = new QCheckBox(_("Normal"), importanceBoxes);
    chkFilterImpNormal->setObjectName(QStringLiteral("chkFilterImpNormal"));
    chkFilterImpLow = new QCheckBox(_("Low"), importanceBoxes);
    chkFilterImpLow->setObjectName(QStringLiteral("chkFilterImpLow"));
    auto* boxes = new QVBoxLayout(importanceBoxes);
    boxes->setContentsMargins(8, 8, 8, 8);
    for (QCheckBox* box : {chkFilterImpHighest, chkFilterImpHigh, chkFilterImpNormal, chkFilterImpLow})
        boxes->addWidget(box);
    boxes->addStretch();
    importanceArea->setWidget(importanceBoxes);
    importanceArea->viewport()->setAutoFillBackground(false);
    importanceBoxes->setAutoFillBackground(false);
    auto* importancePage = new QVBoxLayout(tsFilterImportance);
    importancePage->setContentsMargins(0, 0, 0, 0);
    importancePage->addWidget(importanceArea);
    pcFilters->addTab(tsFilterImportance, _("Importance"));

    sbtnGotoToday = new QToolButton(panSidePanel);
    sbtnGotoToday->setObjectName(QStringLiteral("sbtnGotoToday"));
    sbtnGotoToday->setText(_("Goto Today"));
    sbtnGotoToday->setAutoRaise(true);
    sbtnGotoToday->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    sbtnGotoToday->setMinimumHeight(22);

    ScrollBox1 = new QScrollArea(panSidePanel);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ScrollBox1->setFrameShape(QFrame::NoFrame);
    ScrollBox1->setWidgetResizable(true);
    // The calendars take what the filters leave, down to nothing in a low window.
    ScrollBox1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    auto* strip = new QWidget;
    strip->setObjectName(QStringLiteral("panCalendars"));
    strip->setAutoFillBackground(true);
    QPalette white = strip->palette();
    white.setColor(QPalette::Window, Qt::white);
    strip->setPalette(white);
    auto* calendars = new QVBoxLayout(strip);
    calendars->setContentsMargins(0, 0, 0, 0);
    calendars->setSpacing(0);
    TCalendarX** calendarFields[] = {&CalendarX1, &CalendarX2, &CalendarX3, &CalendarX4, &CalendarX5};
    for (int i = 0; i < 5; ++i) {
        auto* calendar = new TCalendarX(strip);
        calendar->setObjectName(QStringLiteral("CalendarX%1").arg(i + 1));
        calendar->setFixedSize(218, 180);
        calendar->SetTitleBG(QColor(0xA6, 0xCA, 0xF0));
        calendar->SetTitleFG(Qt::black);
        calendar->SetHighlightBGColour(QColor(0xA6, 0xCA, 0xF0));
        calendar->SetHighlightFGColour(Qt::black);
        calendar->SetWeekendBGColour(QColor(0xE4, 0xE4, 0xE4));
        calendar->SetHighlightTodaysDate(true);
        calendar->SetHighlightSelectedDate(true);
        calendars->addWidget(calendar, 0, Qt::AlignHCenter);
        *calendarFields[i] = calendar;
    }
    calendars->addStretch();
    ScrollBox1->setWidget(strip);

    auto* side = new QVBoxLayout(panSidePanel);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(2);
    side->addWidget(DropDownX1);
    side->addWidget(pcFilters);
    side->addWidget(sbtnGotoToday);
    side->addWidget(ScrollBox1, 1);

    auto* client = new QHBoxLayout(central);
    client->setContentsMargins(2, 2, 2, 2);
    client->setSpacing(2);
    client->addWidget(vstEvents, 1);
    client->addWidget(DropDownX2);
    client->addWidget(panSidePanel);
    vstEvents->setFocus();
}

void TfrmQuillet::buildTimers()
{
    tmrCheckEvents = new QTimer(this);
    tmrCheckEvents->setObjectName(QStringLiteral("tmrCheckEvents"));
    tmrCheckEvents->setInterval(5000); // switched on as the last step of FormCreate
    tmrSave = new QTimer(this);
    tmrSave->setObjectName(QStringLiteral("tmrSave"));
    tmrSave->setInterval(1000);
    tmrResetClipboardViewer = new QTimer(this);
    tmrResetClipboardViewer->setObjectName(QStringLiteral("tmrResetClipboardViewer"));
    tmrResetClipboardViewer->setInterval(1000);
    connect(tmrCheckEvents, &QTimer::timeout, this, [this] { reportingErrors([this] { tmrCheckEventsTimer(); }); });
    connect(tmrSave, &QTimer::timeout, this, [this] { reportingErrors([this] { tmrSaveTimer(); }); });
    connect(tmrResetClipboardViewer, &QTimer::timeout, this,
            [this] { reportingErrors([this] { tmrResetClipboardViewerTimer(); }); });
    tmrSave->start();
    tmrResetClipboardViewer->start();
}

void TfrmQuillet::FormCreate()
{
    // An absolute path keeps saves and backups in one place whatever the working folder becomes.
    const bool named = !FFileName.isEmpty();
    if (named)
        FFileName = QFileInfo(FFileName).absoluteFilePath();
    else if (const QString folder = eventFileFolder(); !folder.isEmpty())
        FFileName = folder + QStringLiteral("Events.events");
    // Else no folder of the user's own is left for it: the list is kept unsaved.
    if (!lockEventFile())
        return;
    if (const QString untrusted = untrustedFoldersReport(chooseProgramFolders(programFolder()), named);
        !untrusted.isEmpty())
        showErrorReport(untrusted);
    if (FTerminated)
        return; // a termination signal came during the message

    ShowSplash(1000, GetFileVersionString(QCoreApplication::applicationFilePath(), QStringLiteral("@A.@B.@C")));

    FClipboardWatcher->join();
    FExpectClipboard = false;

    if (!FHotKey->registerHotKey(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_E))
        showPlainMessage(QStringLiteral("Unable to assign \"Ctrl+Shift+E\" as hotkey."));
    if (FTerminated)
        return; // a termination signal came during the message

    FNotifyForm = std::make_unique<TfrmEventNotify>();
    FNotifyForm->OnNotifyEventsChanged = [this] { DoNotifyEventsChanged(); };
    FNotifyForm->OnNotifyEventEdited = [this] { DoNotifyEventEdited(); };
    FNotifyForm->OnEditStarting = [this] { pauseReminderCheck(); };
    FNotifyForm->OnEditFinished = [this] { resumeReminderCheck(); };

    FEventList = std::make_unique<TEventList>();
    pcFilters->setCurrentWidget(tsFilterCategory);

    CalendarX1->SetSelectedDate(Now());
    CalendarX1->SetSelectedMonth(CalendarX1->SelectedDate());
    SyncCalendarMonths(CalendarX1);

    loadEventFile();
    if (FTerminated)
        return;
    askAboutCommandsOthersMayChange();
    if (FTerminated)
        return;

    fillCategories();

    useImmediateHints();
    BuildLanguageMenu();
    TranslateWindow();
    LoadSettings();
    FSettingsLoaded = true;
    RefreshEventView();
    FocusNearestEvent();
    tmrCheckEvents->start();
}

// Two programs on one event file (from sessions with runtime folders of their own, or
// two users of a shared folder) would each overwrite the other's changes with every
// save. The second one says which file is in use and by whom, and ends before it has
// shown or written anything. Where no lock can be had, the user is told once, and the
// program goes on.
bool TfrmQuillet::lockEventFile()
{
    if (FFileName.isEmpty())
        return true; // nowhere to save: nothing to lock
    if (takeEventFileLock())
        return true;
    showErrorReport(eventFileInUse() + QStringLiteral("\r\n\r\n") +
                    _("This Quillet closes without changing anything."));
    FTerminated = true;
    TrayIcon1->hide();
    return false;
}

// A first start finds no folder and so takes no lock; the save that makes the folder
// takes it before it writes there. Should another program have taken it meanwhile,
// the file stays that program's: this one writes nothing to it while the other runs.
void TfrmQuillet::lockEventFileInFolderMadeLater()
{
    if (!FLockAwaitsFolder || !QFileInfo(QFileInfo(FFileName).absolutePath()).isDir())
        return;
    if (!takeEventFileLock())
        throw QuilletError(eventFileInUse() + QStringLiteral("\r\n\r\n") +
                           _("This Quillet saves nothing to it while the other one runs."));
}

bool TfrmQuillet::takeEventFileLock()
{
    // Made anew each time: a folder made since resolves the links on the way to the file.
    FEventFileLock = std::make_unique<FileLock>(FFileName);
    if (!FEventFileLock->tryAcquire())
        return false;
    // In a folder that isn't there (a read-only home, a first start) no other program
    // uses the file; the save that makes the folder takes the lock, and one that can't
    // make it says why.
    FLockAwaitsFolder = !FEventFileLock->held() && !QFileInfo(QFileInfo(FFileName).absolutePath()).isDir();
    if (!FEventFileLock->held() && !FLockAwaitsFolder)
        showErrorReport(
            _("The event file \"%1\" cannot be locked, so another program could change it meanwhile.").arg(FFileName));
    return true;
}

QString TfrmQuillet::eventFileInUse() const
{
    if (const auto holder = FEventFileLock->holder())
        return _("The event file \"%1\" is already in use by another Quillet, run by %2 as process %3 on %4.")
            .arg(FFileName, holder->User, QString::number(holder->ProcessId), holder->Host);
    return _("The event file \"%1\" is already in use by another Quillet.").arg(FFileName);
}

// A file that cannot be read, or only in part, is reported, and the program still
// starts with its settings and reminders. The file stays as it is until the user
// changes something, and the first save keeps a copy of it under the name given; one
// that can't be read for a copy is never saved over, and the user hears so.
void TfrmQuillet::loadEventFile()
{
    const QString paragraph = QStringLiteral("\r\n\r\n");
    const auto keptCopy = [this] {
        const QString copy = FBackups.keepDamagedOriginal(FFileName, Now());
        if (copy.isEmpty())
            return _("No copy of it can be kept, so Quillet will not save over it: when Quillet ends, your "
                     "changes are written to a file of their own, and you are told where.");
        return _("The first save will keep a copy of this file as \"%1\".").arg(copy);
    };
    try {
        FEventList->LoadFromFile(FFileName, false);
        const TEventList::LoadDamage& damage = FEventList->lastLoadDamage();
        if (damage.any())
            showErrorReport(loadDamageReport(damage, FFileName) + paragraph + keptCopy());
    } catch (const std::exception& error) {
        showErrorReport(_("The event file \"%1\" could not be read.").arg(FFileName) + paragraph +
                        exceptionMessage(error) + paragraph + keptCopy());
    }
    if (FTerminated)
        return; // a termination signal came during the message
    // Used up only once read: a signal that closes the box leaves it for the next start.
    const LastExitNotices notices = noticesFromLastExit();
    if (!notices.Text.isEmpty())
        showErrorReport(notices.Text);
    if (!FTerminated)
        notices.remove();
}

void TfrmQuillet::useClipboardWatcher(std::unique_ptr<ClipboardWatcher> Watcher)
{
    if (FClipboardWatcher && FClipboardWatcher->joined()) {
        FClipboardWatcher->leave();
        Watcher->join();
    }
    FClipboardWatcher = std::move(Watcher);
    connect(FClipboardWatcher.get(), &ClipboardWatcher::changed, this,
            [this] { reportingErrors([this] { WMDrawClipboard(); }); });
}

void TfrmQuillet::FormDestroy()
{
    TEventList::ClearEventView(FEventView);
    if (FEventViewModel)
        FEventViewModel->clearRows(); // its rows index the event list
    FNotifyForm.reset();
    FEventList.reset();
    if (FClipboardWatcher)
        FClipboardWatcher->leave();
    if (FHotKey)
        FHotKey->unregisterHotKey();
}

void TfrmQuillet::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        // Hidden once the window system has finished minimising.
        QTimer::singleShot(0, this, &TfrmQuillet::ApplicationEvents1Minimize);
}

void TfrmQuillet::ApplicationEvents1Minimize()
{
    if (isMinimized())
        HideMainWindow();
}

void TfrmQuillet::actShowHideExecute()
{
    if (isVisible() && !isMinimized())
        HideMainWindow();
    else
        ShowMainWindow();
}

void TfrmQuillet::HideMainWindow()
{
    // Without a notification area a hidden window could not be brought back: it is
    // minimised instead, and one that was never shown (at start-up) is shown.
    if (!systemTrayAvailable()) {
        if (!isVisible())
            ShowMainWindow();
        else if (!isMinimized())
            showMinimized();
        return;
    }
    setWindowState(windowState() & ~Qt::WindowMinimized);
    hide();
}

void TfrmQuillet::ShowMainWindow()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    // The splash stays in front while it lasts, also where the desktop ignores its stay-on-top wish.
    if (SplashVisible())
        frmSplash()->raise();
}

void TfrmQuillet::mnuitmDonateClick()
{
    OpenWebLink(weblinks::DonationsPage);
}
void TfrmQuillet::mnuitmWebSiteClick()
{
    OpenWebLink(weblinks::WebSite);
}
void TfrmQuillet::mnuitmForumClick()
{
    OpenWebLink(weblinks::Forum);
}
void TfrmQuillet::mnuitmUpdatesClick()
{
    OpenWebLink(weblinks::ProductPage);
}

void TfrmQuillet::About1Click()
{
    TfrmAbout about(this);
    about.Execute();
}
