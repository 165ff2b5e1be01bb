// The event list of the real main window: countdowns, cell texts, colours, pictures,
// row heights and order, type-ahead, hints and what it looks like.
#include <QHelpEvent>
#include <QToolTip>

#include "AppTestSupport.h"
#include "app/CountdownText.h"
#include "controls/CalendarX.h"

using testing_support::at;

namespace {

TEST(GetCountdownText, MatchesTheRulesAtTheirEdges)
{
    const TDateTime noon = at(2024, 6, 12, 12);
    const struct {
        TDateTime now;
        TDateTime when;
        bool allowDayNames;
        const char* expected;
    } cases[] = {
        {noon, at(2024, 6, 12), true, "Today"},
        {noon, at(2024, 6, 11), true, "Yesterday"},
        {noon, at(2024, 6, 13), true, "Tomorrow"},
        {noon, at(2024, 6, 14), true, " 1 days, 12 hrs"},
        {noon, at(2024, 6, 12), false, "-12 hrs"}, // day names only for events without a time of day
        {noon, noon + 400, false, " 1 yrs, 1 mths"},
        {noon, noon - 400, false, "-1 yrs, 1 mths"},
        {at(2023, 3, 1), at(2024, 3, 5), false, " 1 yrs, 4 days"}, // a zero unit is skipped
        {noon, at(2024, 6, 12, 14, 30, 15), false, " 2 hrs, 30 mins"},
        {noon, at(2024, 6, 12, 11, 59, 30), false, "-30 secs"},
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

// The window lists all events, disabled ones too; the clock stands at 12 June 2024, 08:00.
class EventListView : public app_testing::MainWindowTest {
protected:
    void SetUp() override
    {
        start();
        window->mnuitmOnlyEnabledEvents->trigger();
    }
    QVariant cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return model->data(model->index(row, column), role);
    }
    QString text(int row, int column) const { return cell(row, column).toString(); }
    QColor colour(int row) const { return cell(row, EventViewModel::ColWhen, Qt::ForegroundRole).value<QColor>(); }
    qint64 picture(int row, int column) const
    {
        return cell(row, column, Qt::DecorationRole).value<QPixmap>().cacheKey();
    }
    QWidget* viewport() const { return window->vstEvents->viewport(); }
    QRect rowRect(int row) const { return window->vstEvents->visualRect(model->index(row, EventViewModel::ColEvent)); }
};

TEST_F(EventListView, CellsShowTheOccurrenceInTheColoursAndPicturesOfItsEvent)
{
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
    EXPECT_EQ(cell(1, 0, Qt::SizeHintRole).toSize().height(), 40);
    EXPECT_EQ(text(4, EventViewModel::ColWhen), formatDateTime("yyyy, dd mmm (ddd), t", at(2024, 6, 14, 14, 30)));
    EXPECT_EQ(text(4, EventViewModel::ColCountdown), " 2 days, 6 hrs");
    EXPECT_EQ(text(4, EventViewModel::ColCategory), "Holidays");

    EXPECT_EQ(colour(0), QColor(0xFF, 0, 0));
    EXPECT_EQ(colour(1), QColor(0, 0, 0xFF));
    EXPECT_EQ(colour(2), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(colour(3), QColor(Qt::black)) << "now is not later than an occurrence exactly now";
    EXPECT_TRUE(cell(2, EventViewModel::ColEvent, Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_FALSE(cell(1, EventViewModel::ColEvent, Qt::FontRole).isValid());
    clock.set(at(2024, 6, 12, 8, 0, 1));
    EXPECT_EQ(colour(3), QColor(0xFF, 0, 0)) << "a second later it is past";

    EXPECT_EQ(picture(4, EventViewModel::ColPicture), window->ilstAlarmRepeat->picture(2).cacheKey())
        << "reminder and repeated dates";
    EXPECT_EQ(picture(2, EventViewModel::ColPicture), 0) << "none for a disabled event";
    EXPECT_EQ(picture(2, EventViewModel::ColImportance), window->ilstPriority->disabledPicture(4).cacheKey());

    window->FEventList->DeleteEvent(4); // without a refresh
    EXPECT_EQ(text(4, EventViewModel::ColEvent), "?");
    EXPECT_FALSE(cell(4, 0, Qt::DecorationRole).isValid());
}

TEST_F(EventListView, RowsAtTheSameMinuteGoEnabledFirstThenByImportance)
{
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
    const std::pair<QString, int> searches[] = {
        {"meet", 1}, // the category MEETINGS contains meet
        {"team m", 2},
        {"ANN", 0},
    };
    for (const auto& [text, row] : searches) {
        QTest::qWait(QApplication::keyboardInputInterval() + 50); // a new search
        for (const QChar c : text)                                // keyClicks knows only ASCII keys
            QTest::sendKeyEvent(QTest::Click, window->vstEvents, Qt::Key_unknown, QString(c), Qt::NoModifier);
        EXPECT_EQ(selectedRow(), row) << text;
    }
}

TEST_F(EventListView, TheNotesShowAsAPlainTextHint)
{
    useEvents({{.when = at(2024, 6, 12, 9), .notes = "Bring the slides\r\nRoom <4>"}, {.when = at(2024, 6, 12, 10)}});
    const auto showHint = [this](int row) {
        QHelpEvent help(QEvent::ToolTip, rowRect(row).center(), viewport()->mapToGlobal(rowRect(row).center()));
        QApplication::sendEvent(viewport(), &help);
    };
    showHint(0);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("Bring the slides<br")) << QToolTip::text();
    EXPECT_TRUE(QToolTip::text().contains("Room &lt;4&gt;")) << "notes are text, not markup";
    showHint(1);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "a row without notes has no hint";
}

TEST_F(EventListView, PaintsAlternatingRowsAndTheSelectionInYellow)
{
    useEvents({{.when = at(2024, 6, 20, 9)}, {.when = at(2024, 6, 20, 10)}, {.when = at(2024, 6, 20, 11)}});
    window->vstEvents->setCurrentIndex(model->index(2, 1));
    screenshot(*viewport(), "event-list");
    const QImage list = viewport()->grab().toImage();
    const auto background = [&](int row) {
        return list.pixelColor(rowRect(row).right() - 10, rowRect(row).center().y());
    };
    EXPECT_EQ(background(0), QColor(Qt::white));
    EXPECT_EQ(background(1), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(background(2), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(rowRect(0).height(), 40);
}

} // namespace
