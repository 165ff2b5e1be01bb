#include "Splash.h"

#include <QApplication>
#include <QBitmap>
#include <QElapsedTimer>
#include <QLabel>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "AppResources.h"
#include "platform/GetText.h"

namespace {

struct SplashState {
    TfrmSplash* window = nullptr;
    int minTime = 0;        // ms
    QElapsedTimer shownFor; // invalid until ShowSplash: the time has then always elapsed
};

SplashState& splash()
{
    static SplashState state;
    return state;
}

// The splash goes with the application, before the window system shuts down.
void destroySplash()
{
    delete splash().window;
    splash().window = nullptr;
}

QWidget* mainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmQuillet") && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace

TfrmSplash::TfrmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    ensureAppResources();
    setFixedSize(256, 256);

    const QPixmap picture(QStringLiteral(":/images/splash.png"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, 256, 256);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(picture);
    // Only the picture itself is shown: its transparent surroundings are cut away.
    setMask(picture.mask());

    Label1 = new QLabel(QStringLiteral("Version:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    font.setBold(true);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    const int labelHeight = Label1->sizeHint().height();
    Label1->setGeometry(0, height() - 75 - labelHeight, width(), labelHeight);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    // A coarse timer may tick a little before the minimum time, and the splash would
    // wait for the next tick: a whole second more.
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);
}

void TfrmSplash::Timer1Timer()
{
    if (!SplashTimeElapsed())
        return;
    if (SplashVisible())
        HideSplash();
    Timer1->stop();
}

TfrmSplash* frmSplash()
{
    if (!splash().window) {
        splash().window = new TfrmSplash;
        qAddPostRoutine(destroySplash);
    }
    return splash().window;
}

void ShowSplash(int MinTimeMs, const QString& Version)
{
    TfrmSplash* window = frmSplash();
    splash().minTime = MinTimeMs;

    QRect area;
    if (QWidget* owner = mainWindow())
        area = owner->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->geometry();
    window->move(area.center() - window->rect().center());
    window->show();
    window->raise();

    window->Label1->setText(_("Version") + QStringLiteral(": ") + Version);
    QApplication::processEvents();

    splash().shownFor.start();
    window->Timer1->start();
}

bool SplashTimeElapsed()
{
    return !splash().shownFor.isValid() || splash().shownFor.elapsed() >= splash().minTime;
}

bool SplashVisible()
{
    return splash().window && splash().window->isVisible();
}

void HideSplash()
{
    while (!SplashTimeElapsed())
        QThread::msleep(10);
    if (splash().window)
        splash().window->hide();
}
