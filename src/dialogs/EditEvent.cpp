#include "EditEvent.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <vector>

#include "DatePicker.h"
#include "DrawnPicture.h"
#include "RepeatedEventEditor.h"
#include "controls/FontStyles.h"
#include "controls/ReadableColour.h"
#include "controls/TextField.h"
#include "controls/TimePicker.h"
#include "platform/GetText.h"
#include "platform/ProgramFolder.h"
#include "platform/SoundPlayer.h"
#include "platform/gui/ErrorReport.h"

namespace {

// The importance names and their colours, by track bar position.
struct ImportanceLook {
    const char* name;
    QColor colour;
};
const ImportanceLook importanceLooks[] = {
    {N_("Low"), QColor(0x00, 0xFF, 0x00)},
    {N_("Normal"), QColor(0xFF, 0x80, 0x00)},
    {N_("High"), QColor(0x80, 0x00, 0x00)},
    {N_("Highest"), QColor(0xFF, 0x00, 0x00)},
};

const QColor moneyGreen(0xC0, 0xDC, 0xC0);

template <class W> W* named(W* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* captionFor(QWidget* buddy, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// A green "play" triangle for the sound preview.
QPixmap playPicture(qreal DevicePixelRatio)
{
    return drawPicture(16, DevicePixelRatio, [](QPainter& painter) {
        QPainterPath triangle;
        triangle.moveTo(4.5, 2.5);
        triangle.lineTo(13.5, 8);
        triangle.lineTo(4.5, 13.5);
        triangle.closeSubpath();
        painter.setPen(QPen(QColor(0x1E, 0x6B, 0x1E), 1));
        painter.setBrush(QColor(0x3C, 0xB3, 0x3C));
        painter.drawPath(triangle);
    });
}

// Memos hold CR LF line breaks, as the event file does.
QString toMemoText(const QString& Text)
{
    QString text = Text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString fromMemoText(const QString& Text)
{
    QString text = Text;
    return text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}

} // namespace

TfrmEditEvent::TfrmEditEvent(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmEditEvent"));
    setFont(arialFont(13));
    setMinimumSize(560, 360);
    resize(600, 420);
    setSizeGripEnabled(true);

    pcEventDetails = named(new QTabWidget(this), "pcEventDetails");
    tsGeneral = named(new QWidget, "tsGeneral");
    tsReminder = named(new QWidget, "tsReminder");
    buildGeneralPage();
    buildReminderPage();
    pcEventDetails->addTab(tsGeneral, QString());
    pcEventDetails->addTab(tsReminder, QString());

    lblAlarmTime = named(new QLabel(this), "lblAlarmTime");
    lblAlarmTime->setAlignment(Qt::AlignCenter);
    lblAlarmTime->setFont(arialFont(13, fsBold));
    lblAlarmTime->setAutoFillBackground(true);
    lblAlarmTime->setMinimumHeight(24);
    QPalette alarmColours = lblAlarmTime->palette();
    alarmColours.setColor(QPalette::Window, moneyGreen);
    alarmColours.setColor(QPalette::WindowText, Qt::blue);
    lblAlarmTime->setPalette(alarmColours);

    btnDone = named(new QPushButton(this), "btnDone");
    btnDone->setDefault(true);
    btnCancel = named(new QPushButton(this), "btnCancel");
    for (QPushButton* button : {btnDone, btnCancel})
        button->setMinimumWidth(80);
    connect(btnDone, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    // The size grip in the corner stays clear of Cancel.
    const auto* grip = findChild<QSizeGrip*>();
    buttons->setContentsMargins(8, 6, std::max(8, grip ? grip->sizeHint().width() + 2 : 0), 8);
    buttons->addStretch();
    buttons->addWidget(btnDone);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* pages = new QVBoxLayout;
    pages->setContentsMargins(6, 6, 6, 6);
    pages->addWidget(pcEventDetails);
    layout->addLayout(pages, 1);
    layout->addWidget(lblAlarmTime);
    layout->addLayout(buttons);

    connectHandlers();
    FormCreate();
}

TfrmEditEvent::~TfrmEditEvent() = default;

void TfrmEditEvent::buildGeneralPage()
{
    dtpStartDate = named(new DatePicker(tsGeneral), "dtpStartDate");
    dtpStartDate->setDisplayFormat(QStringLiteral(" ddd, d MMM yyyy"));
    dtpStartDate->setMinimumWidth(150);
    chkShowOnCalendar = named(new QCheckBox(tsGeneral), "chkShowOnCalendar");
    chkUseTime = named(new QCheckBox(tsGeneral), "chkUseTime");
    chkUseTime->setChecked(true);
    tpStartTime = named(new TTimePicker(tsGeneral), "tpStartTime");
    tpStartTime->SetTimeFormat(tfSystem);
    tpStartTime->SetAutoMinPopupAfterHour(true);

    cboCategory = named(new QComboBox(tsGeneral), "cboCategory");
    TextField::editIn(cboCategory);
    cboCategory->setInsertPolicy(QComboBox::NoInsert);
    // Suggestions only: what the user typed is what is stored.
    cboCategory->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cboCategory->setMinimumWidth(150);

    tbImportance = named(new QSlider(Qt::Horizontal, tsGeneral), "tbImportance");
    tbImportance->setRange(0, 3);
    tbImportance->setPageStep(1);
    tbImportance->setValue(1);
    tbImportance->setTickPosition(QSlider::TicksBelow);
    tbImportance->setFixedWidth(100);
    lblSelectedImportance = named(new QLabel(tsGeneral), "lblSelectedImportance");
    lblSelectedImportance->setFont(arialFont(13, fsBold));
    lblSelectedImportance->setMinimumWidth(70);

    edtEvent = named(new TextField(tsGeneral), "edtEvent");
    btnRepeated = named(new QPushButton(tsGeneral), "btnRepeated");
    memEventNote = named(new QPlainTextEdit(tsGeneral), "memEventNote");
    memEventNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memEventNote->setTabChangesFocus(true);
    chkEnabled = named(new QCheckBox(tsGeneral), "chkEnabled");

    auto* importance = new QHBoxLayout;
    importance->setSpacing(6);
    importance->addWidget(tbImportance);
    importance->addWidget(lblSelectedImportance);
    importance->addStretch();

    auto* title = new QHBoxLayout;
    title->setSpacing(8);
    title->addWidget(edtEvent, 1);
    title->addWidget(btnRepeated);

    auto* grid = new QGridLayout(tsGeneral);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(captionFor(dtpStartDate, _("Date:"), tsGeneral), 0, 0);
    grid->addWidget(dtpStartDate, 0, 1);
    grid->addWidget(chkShowOnCalendar, 0, 3);
    grid->addWidget(chkUseTime, 1, 0);
    grid->addWidget(tpStartTime, 1, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(captionFor(cboCategory, _("Category:"), tsGeneral), 2, 0);
    grid->addWidget(cboCategory, 2, 1);
    grid->addWidget(captionFor(tbImportance, _("Importance:"), tsGeneral), 2, 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addLayout(importance, 2, 3);
    grid->addWidget(captionFor(edtEvent, _("Event:"), tsGeneral), 3, 0);
    grid->addLayout(title, 3, 1, 1, 3);
    grid->addWidget(captionFor(memEventNote, _("Notes:"), tsGeneral), 4, 0, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(memEventNote, 4, 1, 1, 3);
    grid->addWidget(chkEnabled, 5, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(4, 1);
}

void TfrmEditEvent::buildReminderPage()
{
    chkAlarmNotify = named(new QCheckBox(tsReminder), "chkAlarmNotify");
    chkAlarmNotify->setChecked(true);
    sedtAlarmMinB4 = named(new QSpinBox(tsReminder), "sedtAlarmMinB4");
    sedtAlarmMinB4->setRange(INT_MIN, INT_MAX);
    sedtAlarmMinB4->setValue(1);
    // An emptied box counts as 0 (not its last value); the box is as wide as its longest value.
    sedtAlarmMinB4->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    sedtAlarmMinB4->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    cboAlarmType = named(new QComboBox(tsReminder), "cboAlarmType");
    cboAlarmType->setMinimumWidth(90);
    auto* fromTheEvent = named(new QLabel(tsReminder), "lblFromTheEvent");
    fromTheEvent->setText(_("from the event"));

    chkPopUpNotify = named(new QCheckBox(tsReminder), "chkPopUpNotify");
    chkAudioNotify = named(new QCheckBox(tsReminder), "chkAudioNotify");
    cboAlarmSounds = named(new QComboBox(tsReminder), "cboAlarmSounds");
    cboAlarmSounds->setMinimumWidth(160);
    sbtnPlaySelectedSound = named(new QToolButton(tsReminder), "sbtnPlaySelectedSound");
    sbtnPlaySelectedSound->setAutoRaise(true);
    sbtnPlaySelectedSound->setIcon(QIcon(playPicture(devicePixelRatioF())));

    chkExecute = named(new QCheckBox(tsReminder), "chkExecute");
    grpExecOptions = named(new QGroupBox(tsReminder), "grpExecOptions");
    memCmdsToExecute = named(new QPlainTextEdit(grpExecOptions), "memCmdsToExecute");
    memCmdsToExecute->setFont(consoleFont(13));
    memCmdsToExecute->setLineWrapMode(QPlainTextEdit::NoWrap);
    memCmdsToExecute->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memCmdsToExecute->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memCmdsToExecute->setTabChangesFocus(true);
    btnBrowseForFile = named(new QPushButton(QStringLiteral("..."), grpExecOptions), "btnBrowseForFile");
    btnBrowseForFile->setFixedWidth(32);

    auto* commands = new QHBoxLayout(grpExecOptions);
    commands->setContentsMargins(8, 8, 8, 8);
    commands->addWidget(memCmdsToExecute, 1);
    commands->addWidget(btnBrowseForFile, 0, Qt::AlignTop);

    auto* offset = new QHBoxLayout;
    offset->setSpacing(6);
    offset->addWidget(chkAlarmNotify);
    offset->addWidget(sedtAlarmMinB4);
    offset->addWidget(cboAlarmType);
    offset->addWidget(fromTheEvent);
    offset->addStretch();

    auto* sound = new QHBoxLayout;
    sound->setSpacing(6);
    sound->addWidget(chkAudioNotify);
    sound->addWidget(cboAlarmSounds);
    sound->addWidget(sbtnPlaySelectedSound);
    sound->addStretch();

    auto* execute = new QHBoxLayout;
    execute->setSpacing(4);
    execute->addWidget(chkExecute, 0, Qt::AlignTop);
    execute->addWidget(grpExecOptions, 1);

    // The settings that depend on "Remind me:" sit indented under it.
    constexpr int indent = 22;
    auto* page = new QVBoxLayout(tsReminder);
    page->setContentsMargins(10, 10, 10, 10);
    page->setSpacing(8);
    page->addLayout(offset);
    auto* details = new QVBoxLayout;
    details->setContentsMargins(indent, 0, 0, 0);
    details->setSpacing(8);
    details->addWidget(chkPopUpNotify);
    details->addLayout(sound);
    details->addLayout(execute, 1);
    page->addLayout(details, 1);
}

void TfrmEditEvent::connectHandlers()
{
    // Qt's event loop must not see exceptions: the user gets the message instead.
    const auto handle = [this](void (TfrmEditEvent::*handler)()) {
        return [this, handler] { reportingErrors([&] { (this->*handler)(); }); };
    };
    dtpStartDate->OnChange = [handle](QObject*) { handle (&TfrmEditEvent::dtpStartDateChange)(); };
    tpStartTime->OnTimeChanged = [handle](QObject*) { handle (&TfrmEditEvent::tpStartTimeTimeChanged)(); };
    // Check boxes and the track bar run their handlers also when the program changes them.
    connect(chkUseTime, &QCheckBox::toggled, this, handle(&TfrmEditEvent::chkUseTimeClick));
    connect(chkAlarmNotify, &QCheckBox::toggled, this, handle(&TfrmEditEvent::chkAlarmNotifyClick));
    connect(tbImportance, &QSlider::valueChanged, this, handle(&TfrmEditEvent::tbImportanceChange));
    connect(sedtAlarmMinB4, &QSpinBox::textChanged, this, handle(&TfrmEditEvent::sedtAlarmMinB4Change));
    connect(cboAlarmType, &QComboBox::currentIndexChanged, this, handle(&TfrmEditEvent::cboAlarmTypeChange));
    connect(btnRepeated, &QPushButton::clicked, this, handle(&TfrmEditEvent::btnRepeatedClick));
    connect(sbtnPlaySelectedSound, &QToolButton::clicked, this,
            handle(&TfrmEditEvent::sbtnPlaySelectedSoundClick));
    connect(btnBrowseForFile, &QPushButton::clicked, this, handle(&TfrmEditEvent::btnBrowseForFileClick));
}

void TfrmEditEvent::FormCreate()
{
    FEvent = std::make_unique<TEvent>();

    setWindowTitle(_("Event Details"));
    pcEventDetails->setTabText(pcEventDetails->indexOf(tsGeneral), _("General"));
    pcEventDetails->setTabText(pcEventDetails->indexOf(tsReminder), _("Reminder"));
    btnDone->setText(_("Done"));
    btnCancel->setText(_("Cancel"));
    chkShowOnCalendar->setText(_("Show On Calendar"));
    chkUseTime->setText(_("Time:"));
    btnRepeated->setText(_("Repeated..."));
    chkEnabled->setText(_("Enabled"));
    chkAlarmNotify->setText(_("Remind me:"));
    chkPopUpNotify->setText(_("Show pop-up window"));
    chkAudioNotify->setText(_("Play this sound:"));
    grpExecOptions->setTitle(_("Execute"));
    tbImportanceChange();
}

bool TfrmEditEvent::Execute(const TEvent* Event, const QStringList& Categories)
{
    cboAlarmType->clear();
    cboAlarmType->addItems({_("minutes"), _("hours"), _("days")});
    if (Event)
        TEvent::Copy(*Event, *FEvent);
    LoadAlarmSounds();
    cboCategory->clear();
    cboCategory->addItems(Categories);
    LoadEventToControls();
    pcEventDetails->setCurrentWidget(tsGeneral);
    edtEvent->setFocus();

    const bool done = exec() == QDialog::Accepted;
    if (done)
        SaveControlsToEvent();
    return done;
}

void TfrmEditEvent::LoadEventToControls()
{
    dtpStartDate->SetDateTime(StripSeconds(FEvent->GetStartDate()));
    tpStartTime->SetTime(dtpStartDate->DateTime());

    chkUseTime->setChecked(FEvent->UseTime);
    tpStartTime->setEnabled(FEvent->UseTime);

    cboCategory->setEditText(FEvent->Category);
    edtEvent->setText(FEvent->GetDescription());
    memEventNote->setPlainText(toMemoText(FEvent->GetNotes()));

    chkAlarmNotify->setChecked(FEvent->AlarmType != 0);
    sedtAlarmMinB4->setValue(FEvent->AlarmParam);
    cboAlarmType->setCurrentIndex(0);
    if (FEvent->AlarmType != 0) {
        const int unit = FEvent->AlarmType - 1;
        cboAlarmType->setCurrentIndex(unit < cboAlarmType->count() ? unit : -1);
    }

    int sound = 0;
    for (int i = 0; i < cboAlarmSounds->count(); ++i)
        if (cboAlarmSounds->itemText(i).compare(FEvent->AlarmSound, Qt::CaseInsensitive) == 0) {
            sound = i;
            break;
        }
    cboAlarmSounds->setCurrentIndex(sound);

    chkAudioNotify->setChecked(FEvent->AudioNotify);
    chkPopUpNotify->setChecked(FEvent->PopUpNotify);
    UpdateAlarmTimeLabel();

    chkEnabled->setChecked(FEvent->Enabled);
    tbImportance->setValue(FEvent->Importance);
    chkExecute->setChecked(FEvent->ExecuteFile);
    memCmdsToExecute->setPlainText(toMemoText(FEvent->CmdsToExecute));
    chkShowOnCalendar->setChecked(FEvent->ShowOnCalendar);
}

void TfrmEditEvent::SaveControlsToEvent()
{
    FEvent->Category = cboCategory->currentText();
    const bool useTime = chkUseTime->isChecked();
    FEvent->SetStartDate(useTime ? dtpStartDate->DateTime() : dateOf(dtpStartDate->DateTime()));
    FEvent->UseTime = useTime;
    FEvent->SetDescription(edtEvent->text());
    FEvent->SetNotes(fromMemoText(memEventNote->toPlainText()));
    FEvent->RepeatedDates->RemoveDate(FEvent->GetStartDate());

    const int unit = cboAlarmType->currentIndex();
    FEvent->AlarmType = chkAlarmNotify->isChecked() && unit >= 0 ? static_cast<std::uint8_t>(unit + 1) : 0;
    FEvent->AlarmParam = alarmParam();
    const int sound = cboAlarmSounds->currentIndex();
    FEvent->AlarmSound = sound >= 1 ? cboAlarmSounds->itemText(sound) : QString();
    FEvent->PopUpNotify = chkPopUpNotify->isChecked();
    FEvent->AudioNotify = chkAudioNotify->isChecked();

    FEvent->SetEnabled(chkEnabled->isChecked());
    FEvent->RecalculateNoticationTimes();

    FEvent->ExecuteFile = chkExecute->isChecked();
    FEvent->CmdsToExecute = fromMemoText(memCmdsToExecute->toPlainText());
    FEvent->ExecuteFileXTimes = 1;
    FEvent->ShowOnCalendar = chkShowOnCalendar->isChecked();
}

int TfrmEditEvent::alarmParam() const
{
    bool whole = false;
    const int value = sedtAlarmMinB4->cleanText().trimmed().toInt(&whole);
    return whole ? value : 0;
}

TDateTime TfrmEditEvent::GetAlarmTime() const
{
    if (!chkAlarmNotify->isChecked())
        return 0;
    const TDateTime base = chkUseTime->isChecked() ? FEvent->GetStartDate() : dateOf(FEvent->GetStartDate());
    switch (cboAlarmType->currentIndex()) {
    case 0:
        return incMinute(base, alarmParam());
    case 1:
        return incHour(base, alarmParam());
    case 2:
        return incDay(base, alarmParam());
    default:
        return 0;
    }
}

void TfrmEditEvent::UpdateAlarmTimeLabel()
{
    const TDateTime t = GetAlarmTime();
    if (t == 0)
        lblAlarmTime->setText(_("No Reminder"));
    else
        lblAlarmTime->setText(_("Reminder") + QStringLiteral(": ") +
                              formatDateTime(QStringLiteral("dddd, d mmmm yyyy (tt)"), t));
}

void TfrmEditEvent::EnableReminderControls()
{
    const bool on = chkAlarmNotify->isChecked();
    for (QWidget* control : std::initializer_list<QWidget*>{
             sedtAlarmMinB4, cboAlarmType, chkPopUpNotify, chkAudioNotify, cboAlarmSounds, sbtnPlaySelectedSound,
             chkExecute, grpExecOptions, btnBrowseForFile, memCmdsToExecute})
        control->setEnabled(on);
}

void TfrmEditEvent::LoadAlarmSounds()
{
    struct Sound {
        QString name;
        QString file;
    };
    std::vector<Sound> sounds;
    bool hasDefault = false;
    QString defaultFile;
    const QDir folder(readOnlyFilesFolder());
    // Name filters match in any letter case; hidden files are left out.
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.wav")}, QDir::Files)) {
        const QString name = file.fileName();
        if (!name.toLower().endsWith(QLatin1String(".wav")))
            continue;
        if (name.toLower() == QLatin1String("default.wav")) {
            hasDefault = true;
            defaultFile = file.absoluteFilePath();
        } else
            sounds.push_back({name.left(name.size() - 4), file.absoluteFilePath()});
    }
    std::stable_sort(sounds.begin(), sounds.end(), [](const Sound& a, const Sound& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });

    // Each item keeps the file it plays, whatever the letter case of its name.
    cboAlarmSounds->clear();
    cboAlarmSounds->addItem(_("System Default"), QString());
    if (hasDefault)
        cboAlarmSounds->addItem(QStringLiteral("Default"), defaultFile);
    for (const Sound& sound : sounds)
        cboAlarmSounds->addItem(sound.name, sound.file);
}

void TfrmEditEvent::dtpStartDateChange()
{
    FEvent->SetStartDate(dtpStartDate->DateTime());
    tpStartTime->SetTime(dtpStartDate->DateTime());
    UpdateAlarmTimeLabel();
}

void TfrmEditEvent::tpStartTimeTimeChanged()
{
    dtpStartDate->SetDateTime(tpStartTime->Time());
    FEvent->SetStartDate(dtpStartDate->DateTime());
    UpdateAlarmTimeLabel();
}

void TfrmEditEvent::chkUseTimeClick()
{
    const bool useTime = chkUseTime->isChecked();
    FEvent->UseTime = useTime;
    tpStartTime->setEnabled(useTime);
    if (!useTime) {
        FEvent->SetStartDate(dateOf(FEvent->GetStartDate()));
        dtpStartDate->SetDateTime(FEvent->GetStartDate());
    }
    tpStartTime->SetTime(FEvent->GetStartDate());
    UpdateAlarmTimeLabel();
}

void TfrmEditEvent::chkAlarmNotifyClick()
{
    UpdateAlarmTimeLabel();
    EnableReminderControls();
}

void TfrmEditEvent::sedtAlarmMinB4Change()
{
    UpdateAlarmTimeLabel();
}

void TfrmEditEvent::cboAlarmTypeChange()
{
    UpdateAlarmTimeLabel();
}

void TfrmEditEvent::tbImportanceChange()
{
    const int position = std::clamp(tbImportance->value(), 0, 3);
    FEvent->SetImportance(static_cast<TEventImportance>(position));
    const ImportanceLook& look = importanceLooks[position];
    lblSelectedImportance->setText(_(look.name));
    // The colours were chosen for a light window; on a dark one they get light enough
    // to read (3:1 for this bold text, which keeps Highest's red apart from High).
    const QColor background = lblSelectedImportance->palette().color(QPalette::Window);
    setTextColour(lblSelectedImportance,
                  background.lightnessF() < 0.5 ? readableOn(look.colour, background, 3.0) : look.colour);
}

void TfrmEditEvent::btnRepeatedClick()
{
    TfrmRepeatedEventEditor editor(this);
    if (editor.Execute(*FEvent))
        useRepeatedDates(*editor.FDates);
}

void TfrmEditEvent::useRepeatedDates(TDateTimeList& Dates)
{
    FEvent->RepeatedDates = std::make_unique<TDateTimeList>();
    if (Dates.GetCount() > 0) {
        FEvent->SetStartDate(Dates.GetItem(0)->DateTime);
        dtpStartDate->SetDateTime(FEvent->GetStartDate());
        tpStartTime->SetTime(FEvent->GetStartDate());
        Dates.Delete(0);
    }
    Dates.CopyTo(*FEvent->RepeatedDates, false);
    UpdateAlarmTimeLabel();
}

void TfrmEditEvent::sbtnPlaySelectedSoundClick()
{
    // "System Default" and a file that can't be played give the desktop's default alert.
    const int index = cboAlarmSounds->currentIndex();
    soundPlayer().play(index >= 1 ? cboAlarmSounds->itemData(index).toString() : QString());
}

void TfrmEditEvent::btnBrowseForFileClick()
{
    QFileDialog TntOpenDialog1(this);
    TntOpenDialog1.setObjectName(QStringLiteral("TntOpenDialog1"));
    TntOpenDialog1.setFileMode(QFileDialog::ExistingFile);
    TntOpenDialog1.setNameFilter(_("All Files") + QStringLiteral(" (*)"));
    if (TntOpenDialog1.exec() != QDialog::Accepted || TntOpenDialog1.selectedFiles().isEmpty())
        return;
    QTextCursor caret = memCmdsToExecute->textCursor();
    caret.insertText(QDir::toNativeSeparators(TntOpenDialog1.selectedFiles().first()));
    memCmdsToExecute->setTextCursor(caret);
    chkExecute->setChecked(true);
}
