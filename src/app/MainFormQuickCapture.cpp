// The quick capture: Ctrl+Shift+E makes the active program copy its selection, and
// the copied text becomes a new event.
#include "MainForm.h"

#include <QApplication>
#include <QTimer>

#include "CapturedText.h"
#include "events/Exceptions.h"
#include "platform/gui/ActiveWindow.h"
#include "platform/gui/ClipboardWatcher.h"
#include "platform/gui/KeySynthesizer.h"

void TfrmQuillet::WMHotKey()
{
    FExpectClipboard = false;
    // With a dialog of ours open, a capture would stack a second dialog on it.
    if (QApplication::activeModalWidget())
        return;
    // Nothing to copy from: no active window, or one of ours.
    const WId target = FActiveWindow->activeWindow();
    if (target == 0 || isOwnWindow(target))
        return;
    // A program that holds the clipboard already (Tk does) copies again without a
    // word; with the clipboard ours, every copy brings a new owner that we hear of.
    FClipboardWatcher->takeOver();
    // The keys the user still holds for the hotkey go up first, or the program
    // would see Ctrl+Shift+C. Keys the desktop refused copy nothing to wait for.
    FExpectClipboard = FKeySynthesizer->sendKeys({{Qt::Key_Control, false},
                                                  {Qt::Key_Shift, false},
                                                  {Qt::Key_E, false},
                                                  {Qt::Key_Control, true},
                                                  {Qt::Key_C, true},
                                                  {Qt::Key_C, false},
                                                  {Qt::Key_Control, false}});
    // The reset timer runs all the time; started afresh, it gives the copy a whole
    // second, where a tick just after the keys would lose the capture.
    if (FExpectClipboard)
        tmrResetClipboardViewer->start();
}

// Only a change that the hotkey asked for, within the reset timer's second, is
// captured. Nothing has to be passed on: the other programs see the clipboard
// change for themselves.
void TfrmQuillet::WMDrawClipboard()
{
    if (!FExpectClipboard)
        return;
    FExpectClipboard = false;
    wrapExceptions("TfrmQuillet.WMDrawClipboard", [this] {
        // A dialog of ours opened since the hotkey: one dialog at a time.
        if (QApplication::activeModalWidget())
            return;
        const QStringList lines = capturedLines(FClipboardWatcher->text());
        if (lines.isEmpty())
            return;
        if (isVisible()) {
            raise();
            activateWindow();
        }
        CreateNewEvent(capturedTitle(lines), capturedNotes(lines), Now());
    });
}
