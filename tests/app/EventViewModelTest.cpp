// The event list's model read on its own: its structure (checked by Qt's model
// tester), cell texts, colours, pictures and row heights.
#include <QAbstractItemModelTester>
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>

#include <gtest/gtest.h>

#include "TestEvent.h"
#include "TestSupport.h"
#include "app/EventPictures.h"
#include "app/EventViewModel.h"

using app_testing::TestEvent;
using testing_support::at;
using testing_support::ClockOverride;

namespace {

class EventViewModelTest : public ::testing::Test {
protected:
    EventViewModelTest() : model(alarmRepeat, priority) { model.setLineHeight(LineHeight); }

    void add(const TestEvent& event) { event.addTo(events); }

    // Every occurrence of every event, sorted into the model.
    void fill()
    {
        TListViewEventItems view;
        events.GetEventView({}, false, -657434, 2958465, true, true, false, false, false, false, view);
        model.setRows(events, view);
    }

    QVariant cell(int row, int column, int role = Qt::DisplayRole) const
    {
        return model.data(model.index(row, column), role);
    }
    QString text(int row, int column) const { return cell(row, column).toString(); }
    QColor colour(int row) const { return cell(row, EventViewModel::ColWhen, Qt::ForegroundRole).value<QColor>(); }
    qint64 pictureKey(int row, int column) const
    {
        return cell(row, column, Qt::DecorationRole).value<QPixmap>().cacheKey();
    }

    static constexpr int LineHeight = 13;
    TEventList events;
    PictureList alarmRepeat = makeAlarmRepeatPictures(1);
    PictureList priority = makePriorityPictures(1);
    EventViewModel model;
};

int modelProblems = 0;

TEST_F(EventViewModelTest, PassesQtsModelChecksThroughRefills)
{
    modelProblems = 0;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString&) {
            if (type != QtDebugMsg && type != QtInfoMsg)
                ++modelProblems;
        });
    {
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
        add(TestEvent(at(2024, 5, 1, 9)));
        add(TestEvent(at(2024, 5, 2))
                .description(QStringLiteral("Two\r\nlines"))
                .allDay()
                .disabled()
                .importance(eiHigh)
                .reminder()
                .weeklyRepeats(2));
        fill();
        EXPECT_EQ(model.rowCount(), 4);
        model.clearRows();
        EXPECT_EQ(model.rowCount(), 0);
        fill();
        EXPECT_EQ(model.columnCount(), 6);
    }
    qInstallMessageHandler(previous);
    EXPECT_EQ(modelProblems, 0);
}

TEST_F(EventViewModelTest, CellTextsFollowTheEvent)
{
    ClockOverride clock(at(2024, 5, 1, 8));
    add(TestEvent(at(2024, 5, 3, 14, 30)).description(QStringLiteral("  Dentist\r\nbring the card \t")));
    add(TestEvent(at(2024, 5, 1)).description(QStringLiteral("Holiday")).allDay().category(QStringLiteral("Holidays")));
    fill();

    EXPECT_EQ(text(0, EventViewModel::ColWhen), formatDateTime("yyyy, dd mmm (ddd)", at(2024, 5, 1)));
    EXPECT_EQ(text(0, EventViewModel::ColCountdown), QStringLiteral("Today"));
    EXPECT_EQ(text(0, EventViewModel::ColCategory), QStringLiteral("Holidays"));
    EXPECT_EQ(text(1, EventViewModel::ColWhen), formatDateTime("yyyy, dd mmm (ddd), t", at(2024, 5, 3, 14, 30)));
    EXPECT_EQ(text(1, EventViewModel::ColCountdown), QStringLiteral(" 2 days, 6 hrs"));
    EXPECT_EQ(text(1, EventViewModel::ColEvent), QStringLiteral("Dentist\r\nbring the card"));
    EXPECT_EQ(text(1, EventViewModel::ColPicture), QString());
    EXPECT_EQ(text(1, EventViewModel::ColImportance), QString());
}

TEST_F(EventViewModelTest, RowColoursMarkPastSelectedDayAndDisabled)
{
    ClockOverride clock(at(2024, 5, 10, 12));
    model.SelectedDate = [] { return at(2024, 5, 8); };
    add(TestEvent(at(2024, 5, 1, 9)));             // past
    add(TestEvent(at(2024, 5, 8, 9)));             // past, on the selected day
    add(TestEvent(at(2024, 5, 8, 10)).disabled()); // on the selected day, disabled
    add(TestEvent(at(2024, 5, 10, 12)));           // exactly now
    add(TestEvent(at(2024, 5, 20, 9)));            // future
    fill();

    EXPECT_EQ(colour(0), QColor(0xFF, 0, 0));
    EXPECT_EQ(colour(1), QColor(0, 0, 0xFF));
    EXPECT_EQ(colour(2), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(colour(3), QColor(Qt::black)) << "now is not later than an occurrence exactly now";
    EXPECT_EQ(colour(4), QColor(Qt::black));

    EXPECT_TRUE(cell(2, EventViewModel::ColEvent, Qt::FontRole).value<QFont>().strikeOut());
    EXPECT_FALSE(cell(1, EventViewModel::ColEvent, Qt::FontRole).isValid());

    clock.set(at(2024, 5, 10, 12, 0, 1));
    EXPECT_EQ(colour(3), QColor(0xFF, 0, 0)) << "a second later it is past";
}

TEST_F(EventViewModelTest, PicturesShowReminderRepeatAndImportance)
{
    add(TestEvent(at(2024, 5, 1, 1)).importance(eiLow).reminder());
    add(TestEvent(at(2024, 5, 1, 2)).importance(eiHigh).reminder().weeklyRepeats(1));
    add(TestEvent(at(2024, 5, 1, 3)).importance(eiHighest).weeklyRepeats(1));
    add(TestEvent(at(2024, 5, 1, 4)));
    add(TestEvent(at(2024, 5, 1, 5)).disabled().importance(eiHighest).reminder().weeklyRepeats(1));
    fill(); // rows 0-4 as added; the repeated dates follow a week later

    EXPECT_EQ(pictureKey(0, 0), alarmRepeat.picture(0).cacheKey());
    EXPECT_EQ(pictureKey(1, 0), alarmRepeat.picture(2).cacheKey());
    EXPECT_EQ(pictureKey(2, 0), alarmRepeat.picture(4).cacheKey());
    EXPECT_EQ(pictureKey(3, 0), 0);
    EXPECT_EQ(pictureKey(4, 0), 0) << "a disabled event shows no reminder picture";

    EXPECT_EQ(pictureKey(0, 3), priority.picture(0).cacheKey());
    EXPECT_EQ(pictureKey(1, 3), priority.picture(2).cacheKey());
    EXPECT_EQ(pictureKey(2, 3), priority.picture(4).cacheKey());
    EXPECT_EQ(pictureKey(3, 3), 0);
    EXPECT_EQ(pictureKey(4, 3), priority.disabledPicture(4).cacheKey());
}

TEST_F(EventViewModelTest, RowHeightsFollowTheDescriptionsLines)
{
    const struct {
        const char* description;
        int height;
    } cases[] = {
        {"", 40},
        {"One line", 40},
        {"Three\rline\nbreaks\r\n", 8 + 3 * LineHeight},
        {"Five\r\nlines\r\nof\r\ntext\r\nhere", 8 + 5 * LineHeight},
        {"Empty\r\n\r\nmiddle", 8 + 3 * LineHeight},
    };
    for (const auto& c : cases)
        add(TestEvent(at(2024, 5, 1, events.Count())).description(QString::fromLatin1(c.description)));
    fill();
    for (int row = 0; row < model.rowCount(); ++row)
        EXPECT_EQ(cell(row, 0, Qt::SizeHintRole).toSize().height(), cases[row].height) << cases[row].description;
}

TEST_F(EventViewModelTest, ARowWhoseEventIsGoneShowsAQuestionMark)
{
    add(TestEvent(at(2024, 5, 1)));
    add(TestEvent(at(2024, 5, 2)));
    fill();
    events.DeleteEvent(1); // without a refresh
    EXPECT_EQ(text(1, EventViewModel::ColEvent), QStringLiteral("?"));
    EXPECT_FALSE(cell(1, 0, Qt::DecorationRole).isValid());
    EXPECT_EQ(text(0, EventViewModel::ColEvent), QStringLiteral("Event"));
}

} // namespace
