#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "Event.h"

// One row of a view: names one occurrence of one event by position.
class TListViewEventItem {
public:
    TListViewEventItem() = default;
    TListViewEventItem(int EventIndex_, int DateIndex_) : EventIndex(EventIndex_), DateIndex(DateIndex_) {}

    std::int32_t EventIndex = 0;
    std::int32_t DateIndex = -1; // -1: the start occurrence; else the repeated date's index
};

// A view: the rows are owned by the holder of the array.
using TListViewEventItems = std::vector<std::unique_ptr<TListViewEventItem>>;

// The one container of the program's events and category names.
class TEventList {
public:
    TEventList();
    ~TEventList();
    TEventList(const TEventList&) = delete;
    TEventList& operator=(const TEventList&) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // nullptr when Index is outside the list.
    TEvent* GetEvent(int Index) const;
    // Stores a copy of Event; returns its index.
    int AddEvent(const TEvent& Event);
    int AddCategory(const QString& Name);
    void DeleteEvent(int Index);
    void DeleteOccurrence(const TListViewEventItem& Item);
    void Dissmiss(const TListViewEventItem& Item);
    bool DateHasEventForCalendar(TDateTime Date) const;
    bool HasEventWithDescription(const TEvent& Event) const;

    // Views (EventListViews.cpp).
    void GetEventView(const QStringList& Categories, bool UseCategories, TDateTime FromDate, TDateTime ToDate,
                      bool ShowDisabled, bool ShowRepeats, bool ShowLow, bool ShowNormal, bool ShowHigh,
                      bool ShowHighest, TListViewEventItems& Items) const;
    // 0 for an absent row.
    TDateTime GetEventViewDateTime(const TListViewEventItem* Item) const;
    void SetEventViewDateTime(const TListViewEventItem* Item, TDateTime Value);
    static void ClearEventView(TListViewEventItems& Items);
    void SortEventView(TListViewEventItems& Items) const;

    // Reminders (EventListReminders.cpp).
    void GetExpiredEvents(TListViewEventItems& Items) const;
    void Snooze(const TListViewEventItem& Item, int Minutes);

    // The event file (file/EventListFile.cpp) and the HTML export (file/EventListExport.cpp).
    void SaveToFile(const QString& FileName);
    void LoadFromFile(const QString& FileName, bool Merge);
    // What the last LoadFromFile found wrong in a file that it still read; all
    // false for a file read as it was written. Cleared at the start of every load.
    struct LoadDamage {
        // Text in the events block that could not be read as events: a file with
        // events cut out of its middle, or text after an empty event element.
        // Blanks and line ends between the elements don't count.
        bool SkippedText = false;
        // Texts that are no valid UTF-8, read as Windows-1252, beside texts beyond
        // ASCII that are UTF-8: a UTF-8 file that a hand edit or a bad copy
        // damaged. (A file of the Windows program is Windows-1252 throughout.)
        bool MixedEncodings = false;
        // Zero bytes, which no text of the file holds: a block of the file lost.
        bool ZeroBytes = false;
        // An event element opened inside one without its end tag; the first ends
        // where the second starts.
        bool UnclosedEvent = false;

        bool any() const { return SkippedText || MixedEncodings || ZeroBytes || UnclosedEvent; }
    };
    const LoadDamage& lastLoadDamage() const { return FLastLoadDamage; }
    void ExportToHTML(TListViewEventItems& Items, const QString& Title, const QString& Header, const QString& Footer,
                      const QString& FileName) const;

    bool Modified = false;
    QStringList Categories; // unique ignoring letter case when added through AddCategory

private:
    void indexCategories();

    std::vector<std::unique_ptr<TEvent>> FItems;
    LoadDamage FLastLoadDamage;
    // Each name of Categories, its letters folded as a comparison without regard
    // to case folds them, with its place: AddCategory finds a name in one step.
    // Callers change Categories directly too; FIndexedCategories shares the
    // list's data as it was indexed, and any change to Categories since then
    // has given it data of its own, so the index is built anew.
    QHash<QString, int> FCategoryIndex;
    QStringList FIndexedCategories;
};

// Exchanges two rows of a view.
void SwapItems(std::unique_ptr<TListViewEventItem>& A, std::unique_ptr<TListViewEventItem>& B);
