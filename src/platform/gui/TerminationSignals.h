#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (the system asking the program to end) into a
// Qt signal on the thread that created the object, so the program can end in an
// orderly way from its event loop. One object at a time; the previous handlers
// come back when it is destroyed.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    // False when the handlers could not be installed (the signals keep their defaults).
    bool active() const { return FNotifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* FNotifier = nullptr;
};
