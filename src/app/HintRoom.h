#pragma once

#include <QtGlobal>

class QScreen;

// How much text a hint can show on a screen in the tool tips' font: the lines
// its height holds, and about the characters those lines hold once wrapped.
// Laying out more of a text only costs time.
struct HintRoom {
    int lines = 0;
    qsizetype characters = 0;
};

HintRoom hintRoomOn(const QScreen* Screen);
