// The event list, its views and filters, and the calendar strip in the real window.
#include <QCheckBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QListWidget>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QToolTip>

#include "AppTestSupport.h"
#include "app/CountdownText.h"
#include "app/HintRoom.h"
#include "app/Splash.h"
#include "app/WrappedText.h"
#include "controls/CalendarX.h"

using testing_support::at;

namespace {

TEST(GetCountdownText, MatchesTheRulesAtTheirEdges)
{
    const TDateTime noon = at(2024, 6, 12, 12);
    const struct {
        TDateTime now, when;
        bool allowDayNames;
        const char* expected;
    } cases[] = {
        {noon, at(2024, 6, 12), true, "Today"},
        {noon, at(2024, 6, 11), true, "Yesterday"},
        {noon, at(2024, 6, 13), true, "Tomorrow"},
        {noon, at(2024, 6, 14), true, " 1 days, 12 hrs"},
        {noon, at(2024, 6, 12), false, "-12 hrs"}, // day names only for events without a time of day
        {noon, noon + 400, false, " 1 yrs, 1 mths"},
        {at(2023, 3, 1), at(2024, 3, 5), false, " 1 yrs, 4 days"}, // a zero unit is skipped
        {noon, at(2024, 6, 12, 14, 30, 15), false, " 2 hrs, 30 mins"},
        {noon, noon, false, "-0 secs"},
        // A month from 31 January ends on 29 February, which leaves two days to 2 March.
        {at(2024, 1, 31, 10), at(2024, 3, 2, 10), false, " 1 mths, 2 days"},
        // A calendar month from 1 January passes 31 January 12:00; the count goes on away from it.
        {at(2024, 1, 1), at(2024, 1, 31, 12), false, " 1 mths, 12 hrs"},
    };
    for (const auto& c : cases) {
        testing_support::ClockOverride clock(c.now);
        EXPECT_EQ(GetCountdownText(c.when, c.allowDayNames), c.expected);
    }
}

class MainWindowContent : public app_testing::MainWindowTest {
protected:
    void SetUp() override { start(); }
    QVariant cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return model->data(model->index(row, column), role);
    }
    QString text(int row, int column) const { return cell(row, column).toString(); }
    QColor colour(int row) const { return cell(row, EventViewModel::ColWhen, Qt::ForegroundRole).value<QColor>(); }
    qint64 picture(int row, int column) const { return cell(row, column, Qt::DecorationRole).value<QPixmap>().cacheKey(); }
    QWidget* viewport() const { return window->vstEvents->viewport(); }
    QRect rowRect(int row) const { return window->vstEvents->visualRect(model->index(row, EventViewModel::ColEvent)); }
    void selectDay(TDateTime day) { window->CalendarX1->SetSelectedDate(day); }
    int topRow() const { return window->vstEvents->indexAt(QPoint(0, 0)).row(); }
    // Each calendar's month, "*" where the selected day is highlighted.
    QStringList strip() const
    {
        QStringList months;
        for (TCalendarX* c :
             {window->CalendarX1, window->CalendarX2, window->CalendarX3, window->CalendarX4, window->CalendarX5})
            months << formatDateTime("yyyymm", c->SelectedMonth()) + (c->HighlightSelectedDate() ? "*" : "");
        return months;
    }
    TFontStyles marks(TDateTime day) const
    {
        QColor colour(Qt::white);
        TFontStyles styles;
        window->CalendarX1->OnBeforePaintDayBG(window->CalendarX1, day, colour, styles);
        return styles;
    }
};
using EventListView = MainWindowContent;
using ViewSelection = MainWindowContent;
using CalendarStrip = MainWindowContent;

TEST_F(EventListView, CellsShowTheOccurrenceInTheColoursAndPicturesOfItsEvent)
{
    window->mnuitmOnlyEnabledEvents->trigger(); // disabled events too
    window->CalendarX1->SetSelectedDate(at(2024, 6, 10));
    useEvents({
        {.when = at(2024, 6, 1, 9), .description = "  Dentist\r\nthe card\rand the letter \t"}, // past
        {.when = at(2024, 6, 10, 9), .reminder = true},                                         // past, selected day
        {.when = at(2024, 6, 10, 10), .enabled = false, .importance = eiHighest, .reminder = true},
        {.when = at(2024, 6, 12, 8), .importance = eiHigh, .repeats = {at(2024, 6, 19, 8)}}, // exactly now
        {.when = at(2024, 6, 14, 14, 30), .reminder = true, .repeats = {at(2024, 6, 21)}, .category = "Holidays"},
    });
    EXPECT_EQ(text(0, EventViewModel::ColEvent), "Dentist\r\nthe card\rand the letter");
    EXPECT_EQ(cell(0, 0, Qt::SizeHintRole).toSize().height(), 8 + 3 * window->vstEvents->fontMetrics().height());
    EXPECT_EQ(text(4, EventViewModel::ColCountdown), " 2 days, 6 hrs");

    EXPECT_EQ(colour(0), QColor(0xFF, 0, 0));
    EXPECT_EQ(colour(1), QColor(0, 0, 0xFF));
    EXPECT_EQ(colour(2), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(colour(3), QColor(Qt::black)) << "now is not later than an occurrence exactly now";
    EXPECT_TRUE(cell(2, EventViewModel::ColEvent, Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_FALSE(cell(1, EventViewModel::ColEvent, Qt::FontRole).isValid());
    clock.set(at(2024, 6, 12, 8, 0, 1));
    EXPECT_EQ(colour(3), QColor(0xFF, 0, 0)) << "a second later it is past";

    EXPECT_EQ(picture(4, EventViewModel::ColPicture), window->ilstAlarmRepeat->picture(2).cacheKey());
    EXPECT_EQ(picture(2, EventViewModel::ColPicture), 0) << "none for a disabled event";
    EXPECT_EQ(picture(2, EventViewModel::ColImportance), window->ilstPriority->disabledPicture(4).cacheKey());

    window->FEventList->DeleteEvent(4); // without a refresh
    EXPECT_EQ(text(4, EventViewModel::ColEvent), "?");
    EXPECT_FALSE(cell(4, 0, Qt::DecorationRole).isValid());
}

TEST_F(EventListView, RowsAtTheSameMinuteGoEnabledFirstThenByImportance)
{
    window->mnuitmOnlyEnabledEvents->trigger(); // disabled events too
    useEvents({
        {.when = at(2024, 6, 12, 10), .description = "disabled normal", .enabled = false},
        {.when = at(2024, 6, 12, 10), .description = "disabled highest", .enabled = false, .importance = eiHighest},
        {.when = at(2024, 6, 12, 10), .description = "enabled low", .importance = eiLow},
        {.when = at(2024, 6, 12, 9, 59), .description = "earlier, disabled", .enabled = false},
        {.when = at(2024, 6, 12, 10), .description = "enabled high", .importance = eiHigh},
    });
    EXPECT_EQ(shownDescriptions(),
              QStringList({"earlier, disabled", "enabled high", "enabled low", "disabled highest", "disabled normal"}));
}

TEST_F(EventListView, TypeAheadSearchesTheEventThenTheCategory)
{
    useEvents({
        {.when = at(2024, 6, 12, 9), .description = "Lunch with Ann"},
        {.when = at(2024, 6, 12, 10), .description = "Call Bob", .category = "MEETINGS"},
        {.when = at(2024, 6, 12, 11), .description = "Team Meeting", .category = "Work"},
    });
    window->vstEvents->setFocus();
    const int interval = QApplication::keyboardInputInterval();
    const auto restore = qScopeGuard([&] { QApplication::setKeyboardInputInterval(interval); });
    for (const auto& [text, row] : {std::pair<QString, int>{"meet", 1}, {"team m", 2}, {"ANN", 0}}) {
        // Its first key comes after a pause longer than the interval: a new search. The
        // others, however slowly a loaded machine types them, add to it.
        QApplication::setKeyboardInputInterval(1);
        QTest::qWait(10);
        for (const QChar c : text) { // keyClicks knows only ASCII keys
            QTest::sendKeyEvent(QTest::Click, window->vstEvents, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QApplication::setKeyboardInputInterval(60000);
        }
        EXPECT_EQ(selectedRow(), row) << text;
    }
}

TEST_F(EventListView, PaintsTheRowsBackgroundsAndShowsTheNotesAsAPlainTextHint)
{
    useEvents({{.when = at(2024, 6, 20, 9), .notes = "Bring the slides\r\nRoom <4>"},
               {.when = at(2024, 6, 20, 10)},
               {.when = at(2024, 6, 20, 11)}});
    window->vstEvents->setCurrentIndex(model->index(2, 1));
    const QImage list = viewport()->grab().toImage();
    const auto background = [&](int row) {
        return list.pixelColor(rowRect(row).right() - 10, rowRect(row).center().y());
    };
    EXPECT_EQ(background(0), QColor(Qt::white));
    EXPECT_EQ(background(1), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(background(2), QColor(0xFF, 0xFF, 0x00));

    ASSERT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }));
    const auto showHint = [this](int row) {
        QCursor::setPos(viewport()->mapToGlobal(rowRect(row).center())); // the mouse rests on the row
        QHelpEvent help(QEvent::ToolTip, rowRect(row).center(), viewport()->mapToGlobal(rowRect(row).center()));
        QApplication::sendEvent(viewport(), &help);
    };
    showHint(0);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("Bring the slides<br")) << QToolTip::text();
    EXPECT_TRUE(QToolTip::text().contains("Room &lt;4&gt;")) << "notes are text, not markup";
    QTest::qWait(15000);
    EXPECT_TRUE(QToolTip::isVisible()) << "the hint stays while the mouse rests";
    showHint(1);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "a row without notes has no hint";
}

// Notes of millions of characters, as a quick capture of a document brings them: the
// hint shows as much of their beginning as the screen holds, however their lines run.
TEST_F(EventListView, TheHintOfHugeNotesFillsTheScreenBeforeItIsCut)
{
    const auto notesOf = [](const std::function<QString(int)>& piece) {
        QString notes;
        for (int i = 0; notes.size() < 3'000'000; ++i)
            notes += piece(i);
        return notes;
    };
    const QString paragraph = notesOf([](int i) { return QString("word%1 ").arg(i); }).left(1500);
    const struct {
        const char* kind;
        QString notes;
        const char* beginning;
    } cases[] = {
        {"short lines", notesOf([](int i) { return QString("Line %1 of the notes\r\n").arg(i); }),
         "<p>Line 0 of the notes<br"},
        {"one paragraph, pasted without line breaks", notesOf([](int i) { return QString("word%1 ").arg(i % 1000); }),
         "<p>word0 word1 word2"},
        {"paragraphs", notesOf([&](int) { return paragraph + "\r\n\r\n"; }), "<p>word0 word1 word2"},
        {"narrow letters", notesOf([](int) { return QString("il ij lit "); }), "<p>il ij lit"},
        {"wide letters", notesOf([](int) { return QString("WWMW MWM "); }), "<p>WWMW MWM"},
    };
    ASSERT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }));
    const int screenHeight = window->screen()->availableGeometry().height();
    const int lineHeight = QFontMetrics(QToolTip::font()).lineSpacing();
    const auto hint = [&](const QString& notes, int& hintHeight, const QString& name) {
        useEvents({{.when = at(2024, 6, 20, 9), .notes = notes}});
        QCursor::setPos(viewport()->mapToGlobal(rowRect(0).center()));
        QHelpEvent help(QEvent::ToolTip, rowRect(0).center(), viewport()->mapToGlobal(rowRect(0).center()));
        QApplication::sendEvent(viewport(), &help);
        EXPECT_TRUE(QToolTip::isVisible());
        hintHeight = 0;
        for (QWidget* shown : QApplication::topLevelWidgets())
            if (shown->inherits("QTipLabel") && shown->isVisible()) {
                hintHeight = shown->height();
                shown->grab().save(QDir::temp().filePath("quillet-hint-" + name + ".png"));
            }
        return QToolTip::text();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        int hintHeight = 0;
        const QString shown = hint(c.notes, hintHeight, QString(c.kind).left(6).replace(' ', '-'));
        EXPECT_TRUE(shown.startsWith(c.beginning)) << shown.left(100).toStdString();
        EXPECT_LT(shown.size(), 100'000);
        EXPECT_TRUE(shown.contains(QString(QChar(0x2026)))) << "the notes go on";
        EXPECT_LE(hintHeight, screenHeight) << "all of it on the screen";
        EXPECT_GT(hintHeight + 3 * lineHeight, screenHeight) << "the screen filled";
    }
    int hintHeight = 0;
    EXPECT_FALSE(hint("Two lines\r\nand no more\r\n\r\n", hintHeight, "short").contains(QString(QChar(0x2026))))
        << "short notes are shown whole";

    // A captured e-mail of 60 lines, on a screen that holds them all, and one more line.
    QString mail;
    for (int line = 1; line <= 60; ++line)
        mail += QString("> line %1 of the quoted mail, as it was written\r\n").arg(line);
    useEvents({{.when = at(2024, 6, 20, 9), .notes = mail}, {.when = at(2024, 6, 20, 10), .notes = mail + "61"}});
    HintRoom room = hintRoomOn(window->screen());
    room.lines = 60;
    room.lineWidth = 2000; // and all of each line
    model->setHintRoom(room);
    const QString whole = model->index(0, EventViewModel::ColEvent).data(Qt::ToolTipRole).toString();
    EXPECT_EQ(whole.count("<br"), 59) << "line breaks kept";
    EXPECT_TRUE(whole.contains("line 60 of")) << "every line";
    EXPECT_FALSE(whole.contains(QString(QChar(0x2026))));
    const QString cut = model->index(1, EventViewModel::ColEvent).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(cut.contains("line 60 of the quoted mail, as it was written" + QString(QChar(0x2026))));
}

TEST(wrappedLines, BreaksAndWrapsAndEndsTheLastLineWithAnEllipsisWhenTextRemains)
{
    const QFont font("Arial", 8);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance("word word word");
    const struct {
        const char* text;
        bool more;
        int maxLines;
        QStringList expected;
    } cases[] = {
        {"Short", false, 2, {"Short"}},
        {"Short", true, 2, {"Short\u2026"}},
        {"one\ntwo", false, 2, {"one", "two"}},
        {"one\ntwo\nthree", false, 2, {"one", "two\u2026"}},
        {"one\n\nthree", false, 3, {"one", "", "three"}},
        {"word word word word", false, 2, {"word word word ", "word"}},
        {"word word word word word word word word", false, 2,
         {"word word word ", metrics.elidedText("word word word word word\u2026", Qt::ElideRight, width)}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wrappedLines(QString(c.text), c.more, font, width, c.maxLines), c.expected) << c.text;
    const QStringList longWord = wrappedLines(QString(200, 'm'), false, font, width, 3);
    ASSERT_EQ(longWord.size(), 3) << "a word wider than a line breaks inside";
    EXPECT_TRUE(longWord[2].endsWith(QChar(0x2026)));
    EXPECT_EQ(wrappedLines(QString("text"), false, font, 0, 2), QStringList()) << "a column without width";
}

TEST_F(EventListView, LongTitlesKeepTheRowHeightAndEndWithAnEllipsisAlikeInEveryRow)
{
    QString words;
    for (int i = 0; words.size() < 400; ++i)
        words += QString("word%1 ").arg(i);
    // As an import or a quick capture may bring it.
    QString huge = words;
    while (huge.size() < 3'000'000)
        huge += huge.left(3'000'000 - huge.size());
    useEvents({{.when = at(2024, 6, 20, 9), .description = words},
               {.when = at(2024, 6, 20, 10), .description = words},
               {.when = at(2024, 6, 20, 11), .description = words},
               {.when = at(2024, 6, 20, 12), .description = "Three lines\r\n" + words + "\r\nthe third"},
               {.when = at(2024, 6, 20, 13), .description = huge},
               {.when = at(2024, 6, 20, 14), .description = "Short"}});
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QImage list = viewport()->grab().toImage();
    const int h = window->vstEvents->fontMetrics().height();
    const auto eventCell = [&](int row) { return list.copy(rowRect(row)); };

    for (int row = 0; row < model->rowCount(); ++row) {
        const QRect cell = rowRect(row);
        EXPECT_EQ(cell.height(), row == 3 ? 8 + 3 * h : std::max(40, 8 + 2 * h)) << row;
        // Nothing in the margins above and below the text, as a line cut off would draw.
        const QColor background = list.pixelColor(cell.right() - 1, cell.top());
        for (const int y : {cell.top(), cell.top() + 2, cell.bottom() - 3, cell.bottom() - 1})
            for (int x = cell.left(); x < cell.right(); ++x)
                ASSERT_EQ(list.pixelColor(x, y).name(), background.name()) << "row " << row << " at " << x << ", " << y;
    }
    EXPECT_TRUE(eventCell(0) == eventCell(2)) << "the same title in rows of the same colour";
    EXPECT_TRUE(eventCell(0) == eventCell(4)) << "a title of 3,000,000 characters shows its beginning the same way";
    const QStringList shown = wrappedLines(words, false, window->vstEvents->font(),
                                           rowRect(0).width() - 8, (rowRect(0).height() - 8) / h);
    ASSERT_FALSE(shown.isEmpty());
    EXPECT_TRUE(shown.last().endsWith(QChar(0x2026))) << shown.join('|').toStdString();
}

TEST_F(EventListView, ShowsNoFocusFrameWhenTheFocusComesBackAfterARefresh)
{
    useEvents({{.when = at(2024, 6, 20, 9)}, {.when = at(2024, 6, 21, 9)}});
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->cboEventView->setFocus();
    const QImage unfocused = viewport()->grab().toImage();
    window->vstEvents->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(window->vstEvents->hasFocus());
    ASSERT_EQ(window->vstEvents->currentIndex().row(), 0) << "the list takes its first row as current";
    EXPECT_TRUE(viewport()->grab().toImage() == unfocused) << "a frame or other mark on the current row";
}

TEST_F(EventListView, TheWhenColumnHoldsATimedRowOnOneLine)
{
    std::vector<TestEvent> timed;
    for (int month = 1; month <= 12; ++month)
        timed.push_back({.when = at(2024, month, 20 + month % 7, 10 + month, 59)});
    useEvents(timed);
    chooseView(8); // the year
    ASSERT_EQ(model->rowCount(), 12);
    const int width = window->vstEvents->header()->sectionSize(EventViewModel::ColWhen);
    const QFontMetrics metrics(window->vstEvents->font());
    for (int row = 0; row < model->rowCount(); ++row)
        EXPECT_LE(metrics.horizontalAdvance(text(row, EventViewModel::ColWhen)) + 2 * 4, width)
            << text(row, EventViewModel::ColWhen);
}

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(EventListView, CountdownsTickAndMidnightMovesTheDay)
{
    clock.set(at(2024, 6, 12, 23, 59, 10));
    useEvents({{.when = at(2024, 6, 13), .description = "timed"}, {.when = at(2024, 6, 14), .description = "all day"}});
    window->FEventList->GetEvent(1)->UseTime = false;
    chooseView(3); // the next 7 days
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_EQ(shownDescriptions(), QStringList({"timed", "all day"}));
    EXPECT_EQ(text(0, EventViewModel::ColCountdown), " 50 secs");
    EXPECT_EQ(text(1, EventViewModel::ColCountdown), " 1 days");

    PaintCounter list(viewport());
    PaintCounter calendar(window->CalendarX1);
    clock.set(at(2024, 6, 12, 23, 59, 15));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.count > 0; }, 20000)) << "the countdown was not repainted";
    EXPECT_EQ(text(0, EventViewModel::ColCountdown), " 45 secs");
    EXPECT_EQ(calendar.count, 0) << "the same day: the calendars stay as they are";

    clock.set(at(2024, 6, 13, 0, 0, 1));
    list.count = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return calendar.count > 0 && list.count > 0; }, 20000))
        << "the calendars did not move to the new day";
    EXPECT_EQ(text(1, EventViewModel::ColCountdown), "Tomorrow");
}

TEST_F(ViewSelection, EachViewListsItsRangeOfDaysAndARefreshKeepsTheTopRow)
{
    std::vector<TestEvent> daily;
    for (TDateTime day = at(2023, 11, 1); day <= at(2025, 1, 31); day += 1)
        daily.push_back({.when = day + 9.0 / 24});
    useEvents(daily);
    const struct {
        const char* name;
        TDateTime selected;
        int view;
        TDateTime first;
        TDateTime last;
    } cases[] = {
        {"all events", at(2024, 6, 12), 0, at(2023, 11, 1), at(2025, 1, 31)},
        {"the day", at(2024, 6, 12), 1, at(2024, 6, 12), at(2024, 6, 12)},
        {"week of a Saturday", at(2024, 6, 15), 2, at(2024, 6, 9), at(2024, 6, 16)},
        {"week of a Sunday", at(2024, 6, 16), 2, at(2024, 6, 16), at(2024, 6, 23)},
        {"next 7 days", at(2024, 6, 12), 3, at(2024, 6, 12), at(2024, 6, 19)},
        {"next 14 days", at(2024, 6, 12), 4, at(2024, 6, 12), at(2024, 6, 26)},
        {"the month", at(2024, 6, 12), 5, at(2024, 6, 1), at(2024, 6, 30)},
        {"December and January", at(2023, 12, 5), 6, at(2023, 12, 1), at(2024, 1, 31)},
        {"next 2 months from 31 December", at(2023, 12, 31), 7, at(2023, 12, 31), at(2024, 2, 29)},
        {"the year", at(2024, 6, 12), 8, at(2024, 1, 1), at(2024, 12, 31)},
        // Whole days, whatever day is selected: today's 09:00 is still to come at 08:00.
        {"expired events", at(2024, 1, 15), 9, at(2023, 11, 1), at(2024, 6, 12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        selectDay(c.selected);
        chooseView(c.view);
        const int rows = model->rowCount();
        ASSERT_GT(rows, 0);
        EXPECT_EQ(dateOf(model->occurrenceDateTime(0)), c.first);
        EXPECT_EQ(dateOf(model->occurrenceDateTime(rows - 1)), c.last);
        EXPECT_EQ(rows, static_cast<int>(c.last - c.first) + 1) << "one row for every day between";
    }

    chooseView(0); // a refresh keeps the top row while it exists, and selects nothing
    window->vstEvents->scrollTo(model->index(120, 0), QAbstractItemView::PositionAtTop);
    window->vstEvents->setCurrentIndex(model->index(125, 1));
    ASSERT_EQ(selectedRow(), 125);
    window->RefreshEventView();
    EXPECT_EQ(topRow(), 120);
    EXPECT_EQ(selectedRow(), -1);

    window->vstEvents->scrollTo(model->index(300, 0), QAbstractItemView::PositionAtTop);
    chooseView(5);
    EXPECT_EQ(topRow(), 0) << "the narrower list has no row 300";
}

TEST_F(ViewSelection, RangesPastTheLastMonthADateCanHoldEndAtItsLastMoment)
{
    useEvents({{.when = at(9999, 10, 20, 9)}, {.when = at(9999, 11, 20, 9)}, {.when = at(9999, 12, 31, 23, 59)}});
    for (const auto& [selected, view, rows] : std::vector<std::tuple<TDateTime, int, int>>{
             {at(9999, 12, 10), 5, 1}, {at(9999, 11, 10), 6, 2}, {at(9999, 12, 10), 6, 1},
             {at(9999, 11, 10), 7, 2}, {at(9999, 12, 10), 7, 1}}) {
        selectDay(selected);
        chooseView(view);
        EXPECT_EQ(model->rowCount(), rows) << formatDateTime("yyyy-mm-dd", selected).toStdString() << " view " << view;
    }
}

TEST_F(ViewSelection, TheFilterControlsNarrowTheList)
{
    useEvents({
        {.when = at(2024, 6, 12, 9), .description = "low", .importance = eiLow, .category = "Home"},
        {.when = at(2024, 6, 12, 10), .description = "high", .importance = eiHigh, .category = "Work"},
        {.when = at(2024, 6, 12, 11), .description = "off", .enabled = false},
    });
    chooseView(1);
    EXPECT_EQ(shownDescriptions(), QStringList({"low", "high"})) << "no box and no category ticked: all enabled";
    const auto click = [](QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2)); };
    click(window->chkFilterImpHigh);
    EXPECT_EQ(shownDescriptions(), QStringList({"high"}));
    click(window->chkFilterImpHigh);

    QListWidgetItem* category = window->clstCategories->item(0);
    category->setText("work");
    category->setCheckState(Qt::Checked);
    window->RefreshEventView();
    EXPECT_EQ(shownDescriptions(), QStringList({"high"})) << "ticked categories, in any letter case";
    category->setCheckState(Qt::Unchecked);

    window->mnuitmOnlyEnabledEvents->trigger();
    EXPECT_EQ(shownDescriptions(), QStringList({"low", "high", "off"}));
    chooseView(9);
    EXPECT_TRUE(shownDescriptions().contains("off"));
    window->mnuitmOnlyEnabledEvents->trigger();
    EXPECT_FALSE(shownDescriptions().contains("off")) << "expired events too leave out disabled ones";
}

TEST_F(ViewSelection, PickingADaySelectsItsFirstRowOrShowsTheNextDaysRows)
{
    useEvents({{.when = at(2024, 6, 1, 9)}, {.when = at(2024, 6, 20, 14)}, {.when = at(2024, 6, 20, 9)}});
    selectDay(at(2024, 6, 20));
    ASSERT_EQ(selectedRow(), 1);
    EXPECT_EQ(model->occurrenceDateTime(1), at(2024, 6, 20, 9));
    ASSERT_NE(window->selectedEventItem(), nullptr);
    EXPECT_EQ(std::pair(window->selectedEventItem()->EventIndex, window->selectedEventItem()->DateIndex), std::pair(2, -1));

    std::vector<TestEvent> sparse;
    for (int i = 0; i < 300; ++i)
        sparse.push_back({.when = at(2024, 1, 1, 9) + i * 2}); // every other day
    useEvents(sparse);
    selectDay(at(2024, 6, 14)); // between two rows
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(window->selectedEventItem(), nullptr);
    const int later = static_cast<int>((at(2024, 6, 15) - at(2024, 1, 1)) / 2);
    ASSERT_EQ(dateOf(model->occurrenceDateTime(later)), at(2024, 6, 15));
    const QRect shown = window->vstEvents->visualRect(model->index(later, 1));
    EXPECT_NEAR(shown.center().y(), window->vstEvents->viewport()->height() / 2, 1.5 * shown.height())
        << "the row is in the middle of the list";
}

TEST_F(CalendarStrip, MonthsFollowOneAnotherAndTheLastPickedDayIsHighlighted)
{
    EXPECT_EQ(strip(), QStringList({"202406*", "202407", "202408", "202409", "202410"}));
    TCalendarX* third = window->CalendarX3;
    QTest::mouseClick(third, Qt::LeftButton, {},
                      {3 * third->GetColWidth() + 5, third->GetHeaderHeight() + 2 * third->GetRowHeight() + 5});
    EXPECT_EQ(strip(), QStringList({"202406", "202407", "202408*", "202409", "202410"}));
    const TDateTime picked = third->GetCellDate(3, 2);
    EXPECT_EQ(window->GetSelectedDate(), picked);
    EXPECT_EQ(window->CalendarX1->SelectedDate(), at(2024, 6, 12)) << "the first keeps its older day";

    // February clamps the day, not the month.
    window->CalendarX4->SetSelectedMonth(at(2025, 3, 10));
    EXPECT_EQ(strip(), QStringList({"202412", "202501", "202502*", "202503", "202504"}));
    window->CalendarX1->SetSelectedMonth(at(2025, 1, 31));
    EXPECT_EQ(strip(), QStringList({"202501", "202502", "202503*", "202504", "202505"}));
    window->CalendarX5->SetSelectedMonth(at(2024, 3, 31));
    EXPECT_EQ(strip(), QStringList({"202311", "202312", "202401*", "202402", "202403"}));
    EXPECT_EQ(window->GetSelectedDate(), picked) << "moving months picks no day";
}

TEST_F(CalendarStrip, MarksDaysWithShownEventsAndGotoTodayComesBackToToday)
{
    useEvents({
        {.when = at(2024, 6, 3, 9), .enabled = false, .onCalendar = true},
        {.when = at(2024, 6, 5, 9), .repeats = {at(2024, 6, 12, 9), at(2024, 6, 19, 9)}, .onCalendar = true},
        {.when = at(2024, 6, 12, 15)},
        {.when = at(2024, 10, 2, 9)},
    });
    EXPECT_EQ(marks(at(2024, 6, 3)), TFontStyles()) << "only a disabled event";
    EXPECT_EQ(marks(at(2024, 10, 2)), TFontStyles()) << "not shown on calendars";
    EXPECT_EQ(marks(at(2024, 6, 5)), TFontStyles(fsBold | fsUnderline));
    EXPECT_EQ(marks(at(2024, 6, 19)), TFontStyles(fsBold | fsUnderline)) << "a repeated date";

    QScrollBar* scroll = window->ScrollBox1->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    window->CalendarX5->SetSelectedDate(at(2024, 10, 2));
    window->CalendarX1->SetSelectedMonth(at(2024, 1, 1));
    QTest::mouseClick(window->sbtnGotoToday, Qt::LeftButton);
    EXPECT_EQ(strip(), QStringList({"202406*", "202407", "202408", "202409", "202410"}));
    EXPECT_EQ(window->GetSelectedDate(), at(2024, 6, 12));
    EXPECT_EQ(scroll->value(), 0);
    ASSERT_NE(selectedRow(), -1);
    EXPECT_EQ(model->occurrenceDateTime(selectedRow()), at(2024, 6, 12, 9)) << "today's first row";
}

} // namespace
