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
    QString lines, paragraphs;
    for (int line = 1; line <= 400; ++line)
        lines += QString("Long notes, line %1\r\n").arg(line);
    for (int word = 1; paragraphs.size() < 100'000; ++word)
        paragraphs += QString("Paragraphs, word%1 ").arg(word) + (word % 100 ? "" : "\r\n\r\n");
    useEvents({{.when = at(2024, 6, 20, 9), .description = "Short", .notes = "Short notes"},
               {.when = at(2024, 6, 20, 10), .description = "Lines", .notes = lines},
               {.when = at(2024, 6, 20, 11), .description = "Paragraphs", .notes = paragraphs},
               {.when = at(2024, 6, 20, 12), .description = "Other", .notes = "Other notes"}});
    window->ShowMainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(QTest::qWaitFor([] { return !SplashVisible(); }));

    // Onto the long notes from one row's hint, to the right into where their hint
    // comes up, and on to a third row.
    const struct {
        int row;
        const char* beginning;
    } longNotes[] = {{1, "Long notes, line 1<"}, {2, "Paragraphs, word1 "}};
    for (const auto& notes : longNotes)
        for (const int across : {3, 40}) {
            SCOPED_TRACE(QString("%1 across %2").arg(notes.beginning).arg(across).toStdString());
            moveMouse(rowCentre(0));
            ASSERT_TRUE(hintShows("Short notes"));
            moveMouse(rowCentre(notes.row) + QPoint(across, 0));
            EXPECT_TRUE(hintShows(notes.beginning));
            window->screen()->grabWindow(0).save(
                QDir::temp().filePath(QString("quillet-long-hint-%1-%2.png").arg(notes.row).arg(across)));
            moveMouse(rowCentre(3));
            EXPECT_TRUE(hintShows("Other notes"));
        }
}

} // namespace
