#pragma once

#include <QMainWindow>
#include <QStringList>

#include <cstdint>
#include <memory>

#include "EventFileBackups.h"
#include "PictureList.h"
#include "SaveRetrySchedule.h"
#include "controls/FontStyles.h"
#include "events/EventList.h"

class QAction;
class QCheckBox;
class QColor;
class QComboBox;
class QFileDialog;
class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QScrollArea;
class QSessionManager;
class QSystemTrayIcon;
class QTabWidget;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;
class ActiveWindowQuery;
class ClipboardWatcher;
class FileLock;
class HotKey;
class KeySynthesizer;
class TCalendarX;
class TDropDownX;
class TerminationSignals;
class TfrmEventNotify;
class EventViewModel;

// The main window. It owns the event list and the reminder pop-up and lives in the
// notification area: closing or minimising it only hides it; the Exit command, the
// end of the session and the termination signals end the program.
class TfrmQuillet : public QMainWindow {
    Q_OBJECT
public:
    // Arguments are the command line's arguments after the program: the first, when
    // given, names the event file. Runs FormCreate.
    explicit TfrmQuillet(const QStringList& Arguments, QWidget* parent = nullptr);
    // FormDestroy.
    ~TfrmQuillet() override;

    // Fields.
    QString FFileName;
    bool FCanClose = false;
    std::unique_ptr<TEventList> FEventList;
    TListViewEventItems FEventView;
    std::unique_ptr<TfrmEventNotify> FNotifyForm;
    std::uint8_t FNotifyWindowPopupAlpha = 220;
    QStringList FLanguageCodes;
    std::unique_ptr<ClipboardWatcher> FClipboardWatcher; // joined: the window is in the clipboard-viewer chain
    bool FExpectClipboard = false;
    std::unique_ptr<HotKey> FHotKey;
    std::unique_ptr<ActiveWindowQuery> FActiveWindow; // for the quick capture's copy keys
    std::unique_ptr<KeySynthesizer> FKeySynthesizer;
    TerminationSignals* FTerminationSignals = nullptr;

    // The window's life.
    void FormCreate();
    // Saves when modified; answers FCanClose and hides the window when that is false.
    bool FormCloseQuery();
    // Writes the settings and deletes the left-over command files.
    void FormClose();
    void FormDestroy();
    void actExitExecute();
    // The session ends: a real exit; false when it failed and the program goes on.
    bool WMQueryEndSession();
    // A termination signal (the system asking the program to close): a real exit.
    void ApplicationEvents1Message(int SignalNumber);
    void ApplicationEvents1Minimize();
    void actShowHideExecute();
    void HideMainWindow();
    void ShowMainWindow();
    // A real exit has gone through (also one that came while FormCreate still ran).
    bool IsTerminated() const { return FTerminated; }

    // Links of the Help menu and the About box.
    void mnuitmDonateClick();
    void mnuitmWebSiteClick();
    void mnuitmForumClick();
    void mnuitmUpdatesClick();
    void About1Click();

    // Menus and actions.
    QMenuBar* mnuMainMenu;
    QMenu* mnuQuillet;
    QMenu* mnuOptions;
    QMenu* mnuitmLanguage;
    QMenu* Help1;
    QAction* actNewEvent;
    QAction* actShowHide;
    QAction* actEditEvent;
    QAction* actExit;
    QAction* actDeleteSelectedEvent;
    QAction* mnuitmNewEvent; // the menus show the actions themselves
    QAction* mnuitmImport;
    QAction* mnuitmExportToHTML;
    QAction* mnuitmExit;
    QAction* mnuitmStartWithWindows;
    QAction* mnuitmOnlyEnabledEvents;
    QAction* mnuitmDonate;
    QAction* mnuitmWebSite;
    QAction* mnuitmForum;
    QAction* mnuitmUpdates;
    QAction* About1;

    // The notification-area icon and its menu.
    QSystemTrayIcon* TrayIcon1;
    QMenu* pmnuTrayMenu;
    QAction* pmnuitmShowHide;
    QAction* pmnuitmAddNewEvent;
    QAction* pmnuitmExit;

    // The event list's row menu.
    QMenu* pmnuEventFunctions;
    QAction* mnuitmEditEvent;
    QMenu* mnuitmMoveEvent;
    QAction* mnuitmMoveToToday;
    QAction* mnuitmMoveFwd1Day;
    QAction* mnuitmMoveFwd1Week;
    QAction* mnuitmEnableEvent;
    QAction* mnuitmDeleteEvent;

    // Tool bar, event list and side panel.
    QToolBar* ToolBar1;
    QToolButton* tbtnNewEvent;
    QLabel* lblView;
    QComboBox* cboEventView;
    QTreeView* vstEvents;
    TDropDownX* DropDownX2;
    QWidget* panSidePanel;
    TDropDownX* DropDownX1;
    QTabWidget* pcFilters;
    QWidget* tsFilterCategory;
    QListWidget* clstCategories;
    QToolButton* sbtnCatAdd;
    QToolButton* sbtnCatDel;
    QWidget* tsFilterImportance;
    QCheckBox* chkFilterImpHighest;
    QCheckBox* chkFilterImpHigh;
    QCheckBox* chkFilterImpNormal;
    QCheckBox* chkFilterImpLow;
    QToolButton* sbtnGotoToday;
    QScrollArea* ScrollBox1;
    TCalendarX* CalendarX1;
    TCalendarX* CalendarX2;
    TCalendarX* CalendarX3;
    TCalendarX* CalendarX4;
    TCalendarX* CalendarX5;

    QTimer* tmrCheckEvents;
    QTimer* tmrSave;
    QTimer* tmrResetClipboardViewer;

    // Routines of the other parts of the window that FormCreate and the timers call.
    void RefreshEventView();
    void FocusNearestEvent();
    void SyncCalendarMonths(TCalendarX* Calendar);
    TDateTime GetSelectedDate() const;
    void LoadSettings();
    void SaveSettings();
    void saveSettingsIn(const QString& Folder);
    void BuildLanguageMenu();
    void SetLanguage(const QString& Code);
    void TranslateWindow();
    void RefreshCategories(bool FromEventList);
    void SaveEvents();
    void DoNotifyEventsChanged();
    void DoNotifyEventEdited();
    // Every change of the events made outside the pop-up (a new event, an edit, a
    // delete, a move, enabling or disabling, an import) ends here: the pop-up shows
    // what is due now, not only at the next check.
    void followChangedEvents();
    void tmrCheckEventsTimer();
    void tmrSaveTimer();
    void tmrResetClipboardViewerTimer();
    void WMHotKey();
    void WMDrawClipboard();
    // Watches the clipboard through Watcher from now on, joined as the one before it was.
    void useClipboardWatcher(std::unique_ptr<ClipboardWatcher> Watcher);

    // The event list, its views and filters, and the calendar strip
    // (MainFormEventList.cpp, MainFormViews.cpp, MainFormCalendars.cpp).
    std::unique_ptr<PictureList> ilstAlarmRepeat; // 0 reminder, 2 both, 4 repeated dates
    std::unique_ptr<PictureList> ilstPriority;    // 0 low, 2 high, 4 highest importance
    EventViewModel* FEventViewModel = nullptr;    // the rows of vstEvents, copied from FEventView
    // The row shown selected in vstEvents (its event is FEventList's item EventIndex);
    // nullptr when no row is selected.
    const TListViewEventItem* selectedEventItem() const;
    void vstEventsKeyUp(int Key);
    void vstEventsDblClick();
    void vstEventsResize();
    void cboEventViewChange();
    void chkFilterImpClick();
    void mnuitmOnlyEnabledEventsClick();
    void CalendarXDateChanged(QObject* Sender);
    void CalendarXMonthChanged(QObject* Sender);
    void CalendarXDblClickDate(QObject* Sender);
    void CalendarXBeforePaintDayBG_Bold(QObject* Sender, TDateTime Date, QColor& Colour, TFontStyles& FontStyles);
    void sbtnGotoTodayClick();
    // The calendars mark the days of the events: each repaints after every change of them.
    void repaintCalendars();

    // The categories panel (MainFormCategories.cpp).
    // The check list holds the event list's names, all unchecked.
    void fillCategories();
    void clstCategoriesClickCheck();
    void sbtnCatAddClick();
    void sbtnCatDelClick();
    void clstCategoriesDblClick();

    // The event commands and the row menu (MainFormEventCommands.cpp).
    // Opens the edit dialog on a new event dated on the selected day at the hour and
    // minute of Time; a confirmed event is added and saved.
    void CreateNewEvent(const QString& Description, const QString& Notes, TDateTime Time);
    void actNewEventExecute();
    void actEditEventExecute();
    void actDeleteSelectedEventExecute();
    void pmnuEventFunctionsPopup();
    void mnuitmEnableEventClick();
    void mnuitmMoveToTodayClick();
    void mnuitmMoveFwd1DayClick();
    void mnuitmMoveFwd1WeekClick();
    // The reminder check is off while an edit dialog or a delete question is open.
    // Pauses nest: the check runs again when the last one ends.
    void pauseReminderCheck();
    void resumeReminderCheck();
    int FReminderCheckPauses = 0;

    // Import and export (MainFormImportExport.cpp).
    QFileDialog* OpenDialog1 = nullptr;
    QFileDialog* SaveDialog1 = nullptr;
    void mnuitmImportClick();
    void mnuitmExportToHTMLClick();

    // The Language menu's items (MainFormLanguage.cpp).
    void RefreshForLanguageSelection(QObject* Sender);

    // Reminder check and saving (MainFormReminders.cpp).
    // Copies the event file into "Backup" beside it before each save.
    void MakeBackup(const QString& FileName);
    EventFileBackups FBackups;
    std::unique_ptr<FileLock> FEventFileLock; // held while the program uses FFileName
    QString FCheckFailure; // the reminder check's failure last reported
    QString FSaveFailure;  // the last save's failure, reported by its caller
    SaveRetrySchedule FSaveRetries;
    // A change of the user's that the timed save writes: tried at once, also while saves fail.
    void markChangedForSave();

signals:
    // A real exit went through: the program ends now.
    void Terminated();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void checkReminders(QStringList& Failures);
    // The due reminders of pop-up events go to the pop-up's list, in the list's
    // order; the others to Own.
    void collectDueReminders(TListViewEventItems& Own);
    void buildActions();
    void buildMenus();
    void buildTrayIcon();
    void buildToolBar();
    void buildClientArea();
    void buildTimers();
    void buildFileDialogs();
    void setupEventList();
    void setupViewsAndFilters();
    void setupCalendarStrip();
    // Countdowns and past-due colours follow the time, and the day changes at
    // midnight (MainFormClock.cpp).
    void setupClock();
    void clockTick();
    QTimer* FClockTimer = nullptr;
    TDateTime FShownDay = 0; // the day the list and the calendars were last painted for
    void setupCategories();
    void setupEventCommands();
    // Moves the selected occurrence to the date that Move gives for its date-time.
    void moveSelectedOccurrence(TDateTime (*Move)(TDateTime));
    void onCommitDataRequest(QSessionManager& Manager);
    // The lock on the event file, taken at start, or by the save that makes its folder.
    bool lockEventFile();
    void lockEventFileInFolderMadeLater();
    bool takeEventFileLock(); // false when another program holds it
    QString eventFileInUse() const;
    bool FLockAwaitsFolder = false;
    void loadEventFile();
    // Commands of an event file others may change run only after the user's yes
    // (MainFormSharedFile.cpp).
    void askAboutCommandsOthersMayChange();
    // A real exit (MainFormExit.cpp): close with FCanClose set; false when the user
    // chose to keep the program running after all.
    bool closeForGood(bool FromUser);
    bool finishRealExit();
    // After a failed save: the events go to a recovery file; false when even that
    // failed and the user chose to stay.
    bool keepUnsavedChanges(const QString& Failure);
    // Told in a message box when the user asked for the exit, else on standard error.
    void reportExitProblem(const QString& Message);
    bool FTerminated = false;
    bool FExitFromUser = true;
    bool FSettingsLoaded = false; // LoadSettings has run: the settings may be written
};
