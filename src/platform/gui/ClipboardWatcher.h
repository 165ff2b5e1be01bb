#pragma once

#include <QObject>

#include <memory>

// Reports each change of the system clipboard while joined. Joining and leaving
// stand for entering and leaving a chain of clipboard viewers: nothing else has to
// be passed on to other programs.
//
// A change is a new owner taking the clipboard. A program that holds it already
// and copies again (Tk does) announces nothing; taking the clipboard over before
// such a copy makes the copy a change too.
class ClipboardWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void join();
    void leave();
    bool joined() const { return FJoined; }

    // The clipboard's text (empty when it holds none).
    virtual QString text() const = 0;
    // Takes the clipboard over, offering everything it offered, so that the next
    // copy by any program changes the owner and is reported; reports no change of
    // its own. Nothing to do when the clipboard is empty or already ours.
    virtual void takeOver() = 0;

signals:
    void changed();

protected:
    // Where the system's reports come in: passed on while joined.
    void systemChanged();

private:
    bool FJoined = false;
};

// The desktop's clipboard, through Qt.
std::unique_ptr<ClipboardWatcher> createSystemClipboardWatcher();
