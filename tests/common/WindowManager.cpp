#include "WindowManager.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>

namespace testing_support {

namespace {

// Standard output of a short command; "" when it failed.
QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(5000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The window id that xprop prints for the property, or an empty text.
QString supportingWindow(const QStringList& window)
{
    static const QRegularExpression id("window id # (0x[0-9a-fA-F]+)");
    return id.match(output("xprop", window + QStringList{"-notype", "_NET_SUPPORTING_WM_CHECK"})).captured(1);
}

// The names of the root window's properties.
QStringList rootProperties()
{
    static const QRegularExpression name(QStringLiteral("^(\\w+)\\("), QRegularExpression::MultilineOption);
    QStringList names;
    for (auto it = name.globalMatch(output("xprop", {"-root"})); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

} // namespace

bool windowManagerRuns()
{
    const QString check = supportingWindow({"-root"});
    return !check.isEmpty() && supportingWindow({"-id", check}) == check;
}

WindowManager::WindowManager(const QString& program, const QStringList& arguments) : FRootProperties(rootProperties())
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", FHome.path());
    environment.insert("XDG_CONFIG_HOME", FHome.filePath(".config"));
    FProcess.setProcessEnvironment(environment);
    // Fluxbox's default style would set a wallpaper, and leave a message window
    // behind when it can't.
    QDir().mkpath(FHome.filePath(".fluxbox"));
    QFile overlay(FHome.filePath(".fluxbox/overlay"));
    if (overlay.open(QIODevice::WriteOnly))
        overlay.write("background: none\n");
    overlay.close();
    // Their chatter about missing settings files is of no use here.
    FProcess.setStandardOutputFile(QProcess::nullDevice());
    FProcess.setStandardErrorFile(QProcess::nullDevice());
    FProcess.start(program, arguments);
    if (!FProcess.waitForStarted(5000))
        return;
    const QDeadlineTimer deadline(10000);
    while (!(FReady = windowManagerRuns()) && !deadline.hasExpired() && FProcess.state() == QProcess::Running)
        QThread::msleep(20);
}

WindowManager::~WindowManager()
{
    if (FProcess.state() != QProcess::NotRunning) {
        FProcess.terminate();
        if (!FProcess.waitForFinished(5000)) {
            FProcess.kill();
            FProcess.waitForFinished(5000);
        }
    }
    // A manager leaves what it announced behind: the work area, its features.
    for (const QString& property : rootProperties())
        if (!FRootProperties.contains(property))
            QProcess::execute("xprop", {"-root", "-remove", property});
}

QRect WindowManager::workArea()
{
    static const QRegularExpression numbers(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const auto match = numbers.match(output("xprop", {"-root", "_NET_WORKAREA"}));
    if (!match.hasMatch())
        return {};
    return QRect(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                 match.captured(4).toInt());
}

QRect realGeometry(quint64 window)
{
    const QString info = output("xwininfo", {"-id", QString::number(window)});
    const auto field = [&info](const char* name) {
        const QRegularExpression line(QStringLiteral("%1:\\s+(-?\\d+)").arg(QLatin1String(name)));
        return line.match(info).captured(1).toInt();
    };
    if (info.isEmpty())
        return {};
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
}

QRect realFrame(quint64 window)
{
    static const QRegularExpression numbers(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"));
    const auto match = numbers.match(windowProperty(window, "_NET_FRAME_EXTENTS"));
    const QRect client = realGeometry(window);
    if (!match.hasMatch())
        return client;
    return client.adjusted(-match.captured(1).toInt(), -match.captured(3).toInt(), match.captured(2).toInt(),
                           match.captured(4).toInt());
}

bool isOverrideRedirect(quint64 window)
{
    return output("xwininfo", {"-id", QString::number(window)}).contains("Override Redirect State: yes");
}

QString windowProperty(quint64 window, const QString& property)
{
    const QString text = output("xprop", {"-id", QString::number(window), property}).trimmed();
    return text.contains("not found") || text.contains("no such atom") ? QString() : text;
}

} // namespace testing_support
