#include "SnoozeComboBox.h"

#include <QKeyEvent>
#include <QWheelEvent>

SnoozeComboBox::SnoozeComboBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::activated, this, [this] {
        if (!FBrowsing && OnCommit)
            OnCommit();
    });
}

void SnoozeComboBox::wheelEvent(QWheelEvent* event)
{
    FBrowsing = true;
    QComboBox::wheelEvent(event);
    FBrowsing = false;
}

void SnoozeComboBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        if (OnCommit)
            OnCommit();
        return;
    }
    FBrowsing = true;
    QComboBox::keyPressEvent(event);
    FBrowsing = false;
}
