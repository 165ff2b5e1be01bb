#pragma once

#include <QObject>

// Reports each change of the system clipboard while joined. Joining and leaving
// stand for entering and leaving a chain of clipboard viewers: nothing else has to
// be passed on to other programs.
class ClipboardWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void join();
    void leave();
    bool joined() const { return FJoined; }

    // The clipboard's text (empty when it holds none).
    static QString text();

signals:
    void changed();

private:
    bool FJoined = false;
};
