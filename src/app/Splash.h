#pragma once

#include <QWidget>

class QLabel;
class QTimer;

// The picture with the program's version shown while the program starts. Its
// white-keyed surroundings are see-through, so only the round picture shows.
class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    QLabel* Image1;
    QLabel* Label1;
    QTimer* Timer1;

    void Timer1Timer();
    void FormShow() {}
};

// Shows the splash without modality for at least MinTimeMs, centred on the main
// window (on the screen while there is none), with "Version: " and Version.
void ShowSplash(int MinTimeMs, const QString& Version);
// True once the minimum time has passed since ShowSplash (and before it was called).
bool SplashTimeElapsed();
bool SplashVisible();
// Waits for the minimum time, then hides the splash.
void HideSplash();
// The one splash window (made on first use; gone with the application).
TfrmSplash* frmSplash();
