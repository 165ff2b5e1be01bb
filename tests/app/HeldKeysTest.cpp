// The held-key rule on key events made by hand and handed to widgets as Qt hands
// them out: a key's repeats act only in the window where it went down.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

class KeyCounter : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    int presses = 0, releases = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++presses; }
    void keyReleaseEvent(QKeyEvent*) override { ++releases; }
};

// One step of a row: a key event for a window ('a', 'b', or 'p' for a's pop-up), or
// 'A' and 'B', which give a window the focus.
struct Step {
    char window;
    QEvent::Type type = QEvent::None;
    quint64 time = 0;    // the X server's, 0 for none
    bool repeat = false; // marked by Qt as an auto-repeat
};

constexpr auto Press = QEvent::KeyPress;
constexpr auto Release = QEvent::KeyRelease;

TEST(HeldKeys, ActOnlyInTheWindowWhereTheyWentDown)
{
    struct Row {
        const char* name;
        std::vector<Step> steps;
        const char* counted; // presses and releases each window received
    };
    const Row rows[] = {
        {"held in its window",
         {{'a', Press, 1}, {'a', Press, 2}, {'a', Press, 3, true}, {'a', Release, 4}},
         "a 3/1, b 0/0, p 0/0"},
        {"its window closed on the press",
         {{'a', Press, 1}, {'B'}, {'b', Press, 2}, {'b', Press, 3, true}, {'b', Release, 4}},
         "a 1/0, b 0/0, p 0/0"},
        {"a new press after the dropped release",
         {{'a', Press, 1}, {'B'}, {'b', Release, 2}, {'b', Press, 3}, {'b', Release, 4}},
         "a 1/0, b 1/1, p 0/0"},
        {"a repeat pair whose press comes once another window has the keyboard",
         {{'a', Press, 1},
          {'a', Release, 5},
          {'B'},
          {'b', Press, 5},
          {'b', Release, 6},
          {'b', Press, 6},
          {'b', Release, 7}},
         "a 1/1, b 0/0, p 0/0"},
        {"a pair marked as a repeat",
         {{'a', Press, 1}, {'a', Release, 5, true}, {'B'}, {'b', Press, 5, true}, {'b', Release, 7}},
         "a 1/1, b 0/0, p 0/0"},
        {"its window lost the focus and got it back",
         {{'a', Press, 1}, {'B'}, {'A'}, {'a', Press, 2}, {'a', Release, 3}},
         "a 1/0, b 0/0, p 0/0"},
        {"into a pop-up of its window", {{'a', Press, 1}, {'p', Press, 2}, {'p', Release, 3}}, "a 1/0, b 0/0, p 1/1"},
        {"pressed before the program had the keyboard", {{'b', Release, 1}}, "a 0/0, b 0/1, p 0/0"},
        {"without time stamps",
         {{'a', Press}, {'a', Release}, {'B'}, {'b', Press}, {'b', Release}},
         "a 1/1, b 1/1, p 0/0"},
    };
    quint64 rowTime = 0;
    for (const Row& row : rows) {
        KeyCounter a, b;
        KeyCounter popUp(&a);
        popUp.setWindowFlags(Qt::Popup);
        std::map<char, QWidget*> windows{{'a', &a}, {'b', &b}, {'p', &popUp}, {'A', &a}, {'B', &b}};
        a.show();
        b.show();
        a.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&a));
        rowTime += 1000; // no row repeats another's key
        for (const Step& step : row.steps) {
            QWidget* target = windows.at(step.window);
            if (step.type == QEvent::None) {
                target->activateWindow();
                ASSERT_TRUE(QTest::qWaitForWindowActive(target)) << row.name;
                continue;
            }
            QKeyEvent key(step.type, Qt::Key_Return, Qt::NoModifier, "\r", step.repeat);
            key.setTimestamp(step.time ? rowTime + step.time : 0);
            QApplication::sendEvent(target, &key);
        }
        const auto counts = [](const KeyCounter& counter) {
            return std::to_string(counter.presses) + "/" + std::to_string(counter.releases);
        };
        EXPECT_EQ("a " + counts(a) + ", b " + counts(b) + ", p " + counts(popUp), row.counted) << row.name;
    }
}

} // namespace
