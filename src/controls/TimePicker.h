#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>

#include <cstdint>

#include "controls/NotifyEvent.h"
#include "events/DateTimeUtils.h"

class QAction;
class QLabel;
class QMenu;
class TTPLabel;

// Follow the system's time format, always 24-hour, always 12-hour.
enum TTPTimeFormat : std::uint8_t { tfSystem, tf24Hr, tf12Hr };

// Vertical placement of the picker's texts.
enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

// A font with the colour its text is drawn in.
struct LabelFont {
    QFont font;
    QColor colour;
};

// Picks a time of day with the mouse alone: the hour, a separator, the minutes and
// an AM/PM postfix in a row of labels. Clicking the hour opens a menu of hours (and
// then, with AutoMinPopupAfterHour, the minute menu); clicking the minutes opens the
// minute menu. A choice changes only the time of day of Time and fires OnTimeChanged.
//
// The menus are built when TimeFormat is assigned: assign it once after creating
// the picker. The separator and postfix use the widget's own (inherited) font; the
// hour and minutes use Font, and MouseOverFont while the mouse is over them.
class TTimePicker : public QWidget {
    Q_OBJECT

public:
    explicit TTimePicker(QWidget* AOwner = nullptr);
    ~TTimePicker() override;

    const LabelFont& Font() const { return FFont; }
    void SetFont(const LabelFont& Value);
    const LabelFont& MouseOverFont() const { return FMouseOverFont; }
    void SetMouseOverFont(const LabelFont& Value);

    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);

    // The whole date-time; a menu choice changes only its time of day. SetTime
    // stores the value as given and never fires OnTimeChanged.
    TDateTime Time() const { return FTime; }
    void SetTime(TDateTime Value);

    TTPTimeFormat TimeFormat() const { return FTimeFormat; }
    // Chooses 12- or 24-hour display and rebuilds both menus.
    void SetTimeFormat(TTPTimeFormat Value);

    bool AutoMinPopupAfterHour() const { return FAutoMinPopupAfterHour; }
    void SetAutoMinPopupAfterHour(bool Value) { FAutoMinPopupAfterHour = Value; }

    // Fired after an hour or a minute was chosen from a menu.
    TNotifyEvent OnTimeChanged;

    // Give a TTPLabel the mouse-over font, or Font back; other senders are ignored.
    void HourMinMouseEnter(QObject* Sender);
    void HourMinMouseLeave(QObject* Sender);

protected:
    void changeEvent(QEvent* event) override;

private:
    void pbxPopUpMouseDown(QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X, int Y);
    void HourMenuClosed();
    void MinMenuClosed();
    void pmnuHourItemClick(QAction* Sender);
    void pmnuMinItemClick(QAction* Sender);
    void CreateHourPopUpItems();
    void CreateMinPopUpItems();
    void UpdateDisplay();
    void ShowFont(TTPLabel* label, const LabelFont& font);

    TTPLabel* lblHour = nullptr;
    TTPLabel* lblMin = nullptr;
    QLabel* lblTimeSep = nullptr;
    QLabel* lblTimePostfix = nullptr;
    QMenu* pmnuHour = nullptr;
    QMenu* pmnuMin = nullptr;
    LabelFont FFont;
    LabelFont FMouseOverFont;
    TDateTime FTime = 0;
    bool FUse24Hour = true;
    TTPTimeFormat FTimeFormat = tfSystem;
    TTextLayout FLayout = tlTop;
    bool FAutoMinPopupAfterHour = true;

    TTPLabel* FMouseOverLabel = nullptr; // the label showing MouseOverFont, if any
    TTPLabel* FMenuOpener = nullptr;     // the label whose menus are open
    bool FMinMenuFollows = false;        // the open hour menu is followed by the minute menu
};
