#pragma once

#include <QComboBox>

#include <functional>

// The snooze list reports a choice only when the user commits to it: a click or
// Enter in the open list, or Enter on the closed box. Browsing with the wheel or
// the arrow keys changes the choice shown without snoozing.
class SnoozeComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit SnoozeComboBox(QWidget* parent = nullptr);

    std::function<void()> OnCommit;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool FBrowsing = false; // a wheel turn or a key is changing the choice
};
