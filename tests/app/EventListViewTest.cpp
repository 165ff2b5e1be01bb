// The event list view of the real main window: columns, row order, type-ahead,
// hints, keys and what it looks like.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include "MainWindowFixture.h"

using app_testing::MainWindowFixture;
using app_testing::TestEvent;
using testing_support::at;

namespace {

class EventListViewTest : public MainWindowFixture {
protected:
    QHeaderView* header() const { return window->vstEvents->header(); }
    QWidget* viewport() const { return window->vstEvents->viewport(); }
    QPoint centreOfRow(int row) const
    {
        return window->vstEvents->visualRect(model->index(row, EventViewModel::ColEvent)).center();
    }
    void typeAhead(const QString& text)
    {
        QTest::qWait(QApplication::keyboardInputInterval() + 50); // a new search
        for (const QChar c : text)                                // keyClicks knows only ASCII keys
            QTest::sendKeyEvent(QTest::Click, window->vstEvents, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
};

TEST_F(EventListViewTest, HasSixColumnsWithTheEventColumnTakingTheRest)
{
    const QStringList captions = {"", "When", "Countdown", "!", "Event", "Category"};
    for (int column = 0; column < captions.size(); ++column)
        EXPECT_EQ(model->headerData(column, Qt::Horizontal).toString(), captions[column]);
    EXPECT_EQ(header()->sectionSize(0), 36);
    EXPECT_EQ(header()->sectionSize(1), 110);
    EXPECT_EQ(header()->sectionSize(2), 90);
    EXPECT_EQ(header()->sectionSize(3), 20);
    EXPECT_EQ(header()->sectionSize(5), 60);
    EXPECT_EQ(header()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(header()->sectionResizeMode(3), QHeaderView::Fixed);
    EXPECT_EQ(header()->height(), 18);
    EXPECT_EQ(header()->sectionSize(4), viewport()->width() - (36 + 110 + 90 + 20 + 60));

    window->resize(480, 400); // narrower than the fixed columns and the side panel
    QApplication::processEvents();
    EXPECT_EQ(header()->sectionSize(4), 0);
}

TEST_F(EventListViewTest, FixedColumnsStayWhereTheyAre)
{
    header()->moveSection(header()->visualIndex(3), 0);
    EXPECT_EQ(header()->visualIndex(3), 3);
    header()->moveSection(header()->visualIndex(5), 1);
    EXPECT_EQ(header()->visualIndex(5), 1) << "the other columns may move";
}

TEST_F(EventListViewTest, RowsAtTheSameMinuteGoEnabledFirstThenByImportance)
{
    window->mnuitmOnlyEnabledEvents->trigger(); // show disabled events too
    useEvents({
        TestEvent(at(2024, 6, 12, 10)).description("disabled normal").disabled(),
        TestEvent(at(2024, 6, 12, 10)).description("disabled highest").disabled().importance(eiHighest),
        TestEvent(at(2024, 6, 12, 10)).description("enabled low").importance(eiLow),
        TestEvent(at(2024, 6, 12, 9, 59)).description("earlier, disabled").disabled(),
        TestEvent(at(2024, 6, 12, 10)).description("enabled high").importance(eiHigh),
    });
    EXPECT_EQ(shownDescriptions(),
              QStringList({"earlier, disabled", "enabled high", "enabled low", "disabled highest", "disabled normal"}));
}

TEST_F(EventListViewTest, TypeAheadSearchesTheEventThenTheCategory)
{
    useEvents({
        TestEvent(at(2024, 6, 12, 9)).description("Lunch with Ann").category("General"),
        TestEvent(at(2024, 6, 12, 10)).description("Call Bob").category("MEETINGS"),
        TestEvent(at(2024, 6, 12, 11)).description("Team Meeting").category("Work"),
        TestEvent(at(2024, 6, 12, 12)).description(QStringLiteral("Café au lait")).category("General"),
    });
    window->vstEvents->setFocus();

    typeAhead("meet");
    EXPECT_EQ(selectedRow(), 1) << "the category MEETINGS contains meet";
    typeAhead("team m");
    EXPECT_EQ(selectedRow(), 2);
    typeAhead("ANN");
    EXPECT_EQ(selectedRow(), 0);
    typeAhead(QStringLiteral("É"));
    EXPECT_EQ(selectedRow(), 0) << "accented letters match only in the same case";
    typeAhead(QStringLiteral("é"));
    EXPECT_EQ(selectedRow(), 3);
}

TEST_F(EventListViewTest, TheNotesShowAsHint)
{
    useEvents({TestEvent(at(2024, 6, 12, 9)).notes("Bring the slides\r\nRoom <4>"), TestEvent(at(2024, 6, 12, 10))});
    const QPoint where = centreOfRow(0);
    QHelpEvent help(QEvent::ToolTip, where, viewport()->mapToGlobal(where));
    QApplication::sendEvent(viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains("Bring the slides<br")) << QToolTip::text().toStdString();
    EXPECT_TRUE(QToolTip::text().contains("Room &lt;4&gt;")) << "notes are text, not markup";

    const QPoint noNotes = centreOfRow(1);
    QHelpEvent none(QEvent::ToolTip, noNotes, viewport()->mapToGlobal(noNotes));
    QApplication::sendEvent(viewport(), &none);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); })) << "a row without notes has no hint";
}

TEST_F(EventListViewTest, EnterDeleteAndDoubleClickRunTheCommands)
{
    useEvents({TestEvent(at(2024, 6, 12, 9)), TestEvent(at(2024, 6, 12, 10))});
    QSignalSpy edits(window->actEditEvent, &QAction::triggered);
    QSignalSpy deletes(window->actDeleteSelectedEvent, &QAction::triggered);
    window->vstEvents->setCurrentIndex(model->index(1, 1));
    window->vstEvents->setFocus();

    QTest::keyClick(window->vstEvents, Qt::Key_Return);
    QTest::keyClick(window->vstEvents, Qt::Key_Enter, Qt::ShiftModifier);
    EXPECT_EQ(edits.count(), 2);
    QTest::keyClick(window->vstEvents, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(deletes.count(), 1);
    QTest::keyClick(window->vstEvents, Qt::Key_Space);
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, centreOfRow(0));
    EXPECT_EQ(edits.count(), 3);
    EXPECT_EQ(deletes.count(), 1);
    EXPECT_EQ(selectedRow(), 0) << "the double-clicked row is the one edited";
}

// Pixels of a painted row, away from its text.
TEST_F(EventListViewTest, PaintsRowBackgroundsAndTheSelectionInYellow)
{
    useEvents({TestEvent(at(2024, 6, 20, 9)).description("a"), TestEvent(at(2024, 6, 20, 10)).description("b"),
               TestEvent(at(2024, 6, 20, 11)).description("c")});
    window->vstEvents->setCurrentIndex(model->index(2, 1));
    const QImage list = window->vstEvents->viewport()->grab().toImage();
    const auto background = [&](int row) {
        const QRect cell = window->vstEvents->visualRect(model->index(row, EventViewModel::ColEvent));
        return QColor(list.pixel(cell.right() - 10, cell.center().y()));
    };
    EXPECT_EQ(background(0), QColor(Qt::white));
    EXPECT_EQ(background(1), QColor(0xEE, 0xEE, 0xEE));
    EXPECT_EQ(background(2), QColor(0xFF, 0xFF, 0x00));
    EXPECT_EQ(window->vstEvents->visualRect(model->index(0, 0)).height(), 40);
}

} // namespace
