#pragma once

#include <QFont>
#include <QString>

class QScreen;

// How much text a hint can show on a screen: the lines its height holds in the
// tool tips' font, each as wide as a hint lets a long line run, and no wider than
// leaves the hint room beside the mouse.
struct HintRoom {
    int lines = 0;
    int lineWidth = 0; // pixels
    QFont font;
};

HintRoom hintRoomOn(const QScreen* Screen);

// The beginning of Text that fills Room, its long lines wrapped as the hint wraps
// them, ending with "…" where Text goes on. Only as much of Text as the room could
// hold is laid out: notes of millions of characters stay quick.
QString textForHint(const QString& Text, const HintRoom& Room);
