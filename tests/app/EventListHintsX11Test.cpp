// The event list's hints under openbox, with the mouse moved as the X server moves it.
#include <QToolTip>

#include "ManagedMainWindowTest.h"
#include "app/Splash.h"

using testing_support::at;

namespace {

class EventListHintsX11 : public app_testing::ManagedMainWindowTest {
protected:
    void SetUp() override
    {
        ManagedMainWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        window->tmrSave->stop();
    }
    QWidget* viewport() const { return window->vstEvents->viewport(); }
    QPoint rowCentre(int row) const
    {
        const QRect rect = window->vstEvents->visualRect(model->index(row, EventViewModel::ColEvent));
        return viewport()->mapToGlobal(rect.center());
    }
    // The mouse goes there in steps of a few pixels, as a hand moves it.
    static void moveMouse(QPoint to)
    {
        const QPoint from = QCursor::pos();
        const int steps = std::max(1, (to - from).manhattanLength() / 4);
        for (int step = 1; step <= steps; ++step) {
            QCursor::setPos(from + (to - from) * step / steps);
            QTest::qWait(5);
        }
    }
    // The hint shows the text, and stays while the mouse rests.
    static bool hintShows(const QString& text)
    {
        const auto shown = [&] { return QToolTip::isVisible() && QToolTip::text().contains(text); };
        if (!QTest::qWaitFor(shown, 5000))
            return false;
        QTest::qWait(1000);
        return shown();
    }
};

// A tall hint lies just beside the mouse; the mouse running into it must not lose
// the list its hints.
TEST_F(EventListHintsX11, MovingStraightFromOneRowsHintOntoAnotherShowsTheOthersHint)
{
    QString longNotes;
    for (int line = 1; line <= 400; ++line)
        longNotes += QString("Long notes, line %1\r\n").arg(line);
    useEvents({{.when = at(2024, 6, 20, 9), .description = "Short", .notes = "Short notes"},
               {.when = at(2024, 6, 20, 10), .description = "Long", .notes = longNotes},
               {.when = at(2024, 6, 20, 11), .description = "Other", .notes = "Other notes"}});
    window->ShowMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }));

    // Onto the long notes from the left, straight down, and from the right.
    for (const int across : {0, 3, 40}) {
        SCOPED_TRACE(across);
        moveMouse(rowCentre(0));
        ASSERT_TRUE(hintShows("Short notes"));
        moveMouse(rowCentre(1) + QPoint(across, 0));
        EXPECT_TRUE(hintShows("Long notes, line 1<"));
        window->screen()->grabWindow(0).save(QDir::temp().filePath(QString("quillet-long-hint-%1.png").arg(across)));
        moveMouse(rowCentre(2));
        EXPECT_TRUE(hintShows("Other notes"));
    }
}

} // namespace
