#include "WindowManager.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

namespace testing_support {

namespace {

// The window id that xprop prints for the property, or an empty text.
QString supportingWindow(const QStringList& window)
{
    QProcess xprop;
    xprop.start("xprop", window + QStringList{"-notype", "_NET_SUPPORTING_WM_CHECK"});
    if (!xprop.waitForFinished(5000) || xprop.exitCode() != 0)
        return {};
    static const QRegularExpression id("window id # (0x[0-9a-fA-F]+)");
    return id.match(QString::fromUtf8(xprop.readAllStandardOutput())).captured(1);
}

} // namespace

bool windowManagerRuns()
{
    const QString check = supportingWindow({"-root"});
    return !check.isEmpty() && supportingWindow({"-id", check}) == check;
}

WindowManager::WindowManager(const QString& program, const QStringList& arguments)
{
    FProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    FProcess.setStandardOutputFile(QProcess::nullDevice());
    FProcess.start(program, arguments);
    if (!FProcess.waitForStarted(5000))
        return;
    const QDeadlineTimer deadline(10000);
    while (!(FReady = windowManagerRuns()) && !deadline.hasExpired() && FProcess.state() == QProcess::Running)
        QThread::msleep(20);
}

WindowManager::~WindowManager()
{
    if (FProcess.state() == QProcess::NotRunning)
        return;
    FProcess.terminate();
    if (!FProcess.waitForFinished(5000)) {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }
}

} // namespace testing_support
