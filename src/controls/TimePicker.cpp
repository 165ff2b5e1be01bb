#include "TimePicker.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLocale>
#include <QMenu>

#include "controls/ReadableColour.h"
#include "controls/TPLabel.h"
#include "events/Exceptions.h"
#include "platform/gui/ErrorReport.h"

namespace {

// Failures of the picker's set-up name the method and quote the cause.
template <typename Body> void wrapPickerErrors(const char* name, Body&& body)
{
    try {
        body();
    } catch (const std::exception& error) {
        throw QuilletError(QString::fromLatin1(name) + QStringLiteral("-> \"") + exceptionMessage(error) +
                           QStringLiteral("\"\r\n"));
    }
}

// Whether the system's long time format shows an AM/PM designator (Qt writes it
// as "AP", "ap", "A" or "a"; quoted text does not count).
bool systemTimeFormatHasAmPm()
{
    const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && (c == QLatin1Char('a') || c == QLatin1Char('A')))
            return true;
    }
    return false;
}

Qt::Alignment alignmentFor(TTextLayout layout)
{
    switch (layout) {
    case tlCenter:
        return Qt::AlignLeft | Qt::AlignVCenter;
    case tlBottom:
        return Qt::AlignLeft | Qt::AlignBottom;
    case tlTop:
        break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

template <typename Label> Label* makeLabel(Label* label, QWidget* owner, QHBoxLayout* row)
{
    label->setParent(owner);
    label->setTextFormat(Qt::PlainText);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    row->addWidget(label);
    return label;
}

// Removes a menu's items, their submenus included.
void releaseItems(QMenu* menu)
{
    const QList<QMenu*> submenus = menu->findChildren<QMenu*>(Qt::FindDirectChildrenOnly);
    menu->clear();
    qDeleteAll(submenus);
}

} // namespace

TTimePicker::TTimePicker(QWidget* AOwner) : QWidget(AOwner)
{
    wrapPickerErrors("TTimePicker.Create", [this] {
        FFont = LabelFont{QFont(), palette().color(QPalette::WindowText)};
        FMouseOverFont = FFont;
        FMouseOverFont.font.setBold(true);
        FMouseOverFont.font.setUnderline(true);
        FMouseOverFont.colour = QColor(0x00, 0x00, 0xFF);
        FUse24Hour = !systemTimeFormatHasAmPm();
        FTime = Now();

        auto* row = new QHBoxLayout(this);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        lblHour = makeLabel(new TTPLabel, this, row);
        lblHour->setObjectName(QStringLiteral("lblHour"));
        lblTimeSep = makeLabel(new QLabel, this, row);
        lblTimeSep->setObjectName(QStringLiteral("lblTimeSep"));
        lblTimeSep->setText(formatDateTime(QStringLiteral(":"), 0));
        lblMin = makeLabel(new TTPLabel, this, row);
        lblMin->setObjectName(QStringLiteral("lblMin"));
        lblTimePostfix = makeLabel(new QLabel, this, row);
        lblTimePostfix->setObjectName(QStringLiteral("lblTimePostfix"));
        row->addStretch();

        for (TTPLabel* label : {lblHour, lblMin}) {
            ShowFont(label, FFont);
            label->setCursor(Qt::PointingHandCursor);
            label->OnMouseDown = [this](QObject* Sender, Qt::MouseButton Button, Qt::KeyboardModifiers Shift, int X,
                                        int Y) { pbxPopUpMouseDown(Sender, Button, Shift, X, Y); };
            label->OnMouseEnter = [this](QObject* Sender) { HourMinMouseEnter(Sender); };
            label->OnMouseLeave = [this](QObject* Sender) { HourMinMouseLeave(Sender); };
        }

        pmnuHour = new QMenu(this);
        pmnuHour->setObjectName(QStringLiteral("pmnuHour"));
        pmnuMin = new QMenu(this);
        pmnuMin->setObjectName(QStringLiteral("pmnuMin"));
        // Queued, so that a chosen item has been applied before the menu's closing is handled.
        connect(pmnuHour, &QMenu::aboutToHide, this, &TTimePicker::HourMenuClosed, Qt::QueuedConnection);
        connect(pmnuMin, &QMenu::aboutToHide, this, &TTimePicker::MinMenuClosed, Qt::QueuedConnection);

        SetLayout(FLayout);
        UpdateDisplay();
    });
}

TTimePicker::~TTimePicker() = default;

void TTimePicker::SetFont(const LabelFont& Value)
{
    FFont = Value;
    for (TTPLabel* label : {lblHour, lblMin})
        if (label != FMouseOverLabel)
            ShowFont(label, FFont);
}

void TTimePicker::SetMouseOverFont(const LabelFont& Value)
{
    FMouseOverFont = Value;
    if (FMouseOverLabel)
        ShowFont(FMouseOverLabel, FMouseOverFont);
}

void TTimePicker::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    // The labels' colours were chosen to read on the window's colour as it was.
    if (event->type() == QEvent::PaletteChange && lblHour && lblMin)
        for (TTPLabel* label : {lblHour, lblMin})
            ShowFont(label, label == FMouseOverLabel ? FMouseOverFont : FFont);
}

void TTimePicker::SetLayout(TTextLayout Value)
{
    FLayout = Value;
    for (QLabel* label : {static_cast<QLabel*>(lblHour), lblTimeSep, static_cast<QLabel*>(lblMin), lblTimePostfix})
        label->setAlignment(alignmentFor(FLayout));
}

void TTimePicker::SetTime(TDateTime Value)
{
    FTime = Value;
    UpdateDisplay();
}

void TTimePicker::SetTimeFormat(TTPTimeFormat Value)
{
    FTimeFormat = Value;
    switch (Value) {
    case tf24Hr:
        FUse24Hour = true;
        break;
    case tf12Hr:
        FUse24Hour = false;
        break;
    case tfSystem:
        FUse24Hour = !systemTimeFormatHasAmPm();
        break;
    }
    CreateHourPopUpItems();
    CreateMinPopUpItems();
    UpdateDisplay();
}

void TTimePicker::HourMinMouseEnter(QObject* Sender)
{
    if (auto* label = qobject_cast<TTPLabel*>(Sender)) {
        FMouseOverLabel = label;
        ShowFont(label, FMouseOverFont);
    }
}

void TTimePicker::HourMinMouseLeave(QObject* Sender)
{
    if (auto* label = qobject_cast<TTPLabel*>(Sender)) {
        if (FMouseOverLabel == label)
            FMouseOverLabel = nullptr;
        ShowFont(label, FFont);
    }
}

void TTimePicker::ShowFont(TTPLabel* label, const LabelFont& font)
{
    label->setFont(font.font);
    QPalette colours = label->palette();
    // The picker shows its window's background: on a dark one the link's blue turns light.
    const QColor colour = readableOn(font.colour, palette().color(QPalette::Window));
    // A disabled picker keeps the desktop's disabled colour, so it looks disabled.
    colours.setColor(QPalette::Active, QPalette::WindowText, colour);
    colours.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(colours);
}

void TTimePicker::pbxPopUpMouseDown(QObject* Sender, Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (Sender == lblHour) {
        FMenuOpener = lblHour;
        FMinMenuFollows = FAutoMinPopupAfterHour;
        pmnuHour->popup(lblHour->mapToGlobal(QPoint(X, Y)));
    } else if (Sender == lblMin) {
        FMenuOpener = lblMin;
        FMinMenuFollows = false;
        pmnuMin->popup(lblMin->mapToGlobal(QPoint(X, Y)));
    }
}

// The minute menu follows the hour menu whether an hour was chosen or not.
void TTimePicker::HourMenuClosed()
{
    if (FMinMenuFollows) {
        FMinMenuFollows = false;
        pmnuMin->popup(lblMin->mapToGlobal(QPoint(0, 0)));
        return;
    }
    MinMenuClosed();
}

// The label that opened the menus may have missed its mouse-leave while they were open.
void TTimePicker::MinMenuClosed()
{
    HourMinMouseLeave(FMenuOpener);
    FMenuOpener = nullptr;
}

void TTimePicker::pmnuHourItemClick(QAction* Sender)
{
    int year = 0, month = 0, day = 0;
    decodeDate(FTime, year, month, day);
    FTime = encodeDateTime(year, month, day, Sender->data().toInt(), 0, 0, 0);
    UpdateDisplay();
    if (OnTimeChanged)
        OnTimeChanged(this);
}

void TTimePicker::pmnuMinItemClick(QAction* Sender)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    decodeDate(FTime, year, month, day);
    decodeTime(FTime, hour, minute, second, msec);
    FTime = encodeDateTime(year, month, day, hour, Sender->text().toInt(), second, msec);
    UpdateDisplay();
    if (OnTimeChanged)
        OnTimeChanged(this);
}

void TTimePicker::CreateHourPopUpItems()
{
    wrapPickerErrors("TTimePicker.CreateHourPopUpItems", [this] {
        releaseItems(pmnuHour);
        const auto addHour = [this](QMenu* menu, int caption, int hour) {
            QAction* item = menu->addAction(QString::number(caption));
            item->setData(hour);
            connect(item, &QAction::triggered, this,
                    [this, item] { reportingErrors([&] { pmnuHourItemClick(item); }); });
        };
        if (FUse24Hour) {
            for (int hour = 0; hour < 24; ++hour)
                addHour(pmnuHour, hour, hour);
            return;
        }
        // "12" is midnight under "a.m." and noon under "p.m.".
        QMenu* am = pmnuHour->addMenu(QStringLiteral("a.m."));
        for (int caption = 1; caption <= 12; ++caption)
            addHour(am, caption, caption % 12);
        QMenu* pm = pmnuHour->addMenu(QStringLiteral("p.m."));
        for (int caption = 1; caption <= 12; ++caption)
            addHour(pm, caption, caption % 12 + 12);
    });
}

void TTimePicker::CreateMinPopUpItems()
{
    wrapPickerErrors("TTimePicker.CreateMinPopUpItems", [this] {
        releaseItems(pmnuMin);
        for (int tens = 0; tens < 60; tens += 10) {
            QMenu* group = pmnuMin->addMenu(QString::number(tens));
            for (int minute = tens; minute < tens + 10; ++minute) {
                QAction* item = group->addAction(QString::number(minute));
                connect(item, &QAction::triggered, this,
                        [this, item] { reportingErrors([&] { pmnuMinItemClick(item); }); });
            }
        }
    });
}

void TTimePicker::UpdateDisplay()
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    decodeTime(FTime, hour, minute, second, msec);
    if (FUse24Hour) {
        lblTimePostfix->clear();
        lblHour->setText(QString::number(hour).rightJustified(2, QLatin1Char('0')));
    } else {
        const QLocale locale = QLocale::system();
        lblTimePostfix->setText(QLatin1Char(' ') + (hour > 11 ? locale.pmText() : locale.amText()));
        lblHour->setText(QString::number(hour == 0 ? 12 : hour > 12 ? hour - 12 : hour));
    }
    lblMin->setText(QString::number(minute).rightJustified(2, QLatin1Char('0')));
}
