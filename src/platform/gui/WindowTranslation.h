#pragma once

class QObject;

// Translates the texts of a window and everything it holds into the current
// language: window titles, captions, labels, tool tips, menu titles, actions, tab
// texts, and the properties a class names in its "TranslatedProperties" class
// info (a comma-separated list). Each text's English source stays on its object,
// so the window can be translated again after a language switch; a text the code
// set since the last translation becomes the new source.
// Combo boxes, text fields and item views are left alone: their contents are the
// program's or the user's, refilled by the code.
void TranslateComponent(QObject* Window);

// The same walk after a language switch.
inline void RetranslateComponent(QObject* Window)
{
    TranslateComponent(Window);
}
