#pragma once

// The clipboard as another program sees it, through xclip, for the X11 tests.

#include <QProcess>
#include <QTest>

namespace testing_support {

// Copies Text as a program of its own, which then holds the clipboard and
// offers Text as Target (a MIME type; "" for plain text).
inline bool copyWithXclip(const QByteArray& Text, const QString& Target = "")
{
    QProcess xclip;
    QStringList arguments{"-selection", "clipboard"};
    if (!Target.isEmpty())
        arguments << "-t" << Target;
    xclip.start("xclip", arguments);
    xclip.write(Text);
    xclip.closeWriteChannel();
    return xclip.waitForFinished(5000);
}

// What another program finds on the clipboard as Target ("" for plain text;
// "TARGETS" lists what it offers). Events run meanwhile: the clipboard may be
// this program's to answer for.
inline QString pasteWithXclip(const QString& Target = "")
{
    QProcess xclip;
    QStringList arguments{"-selection", "clipboard", "-o"};
    if (!Target.isEmpty())
        arguments << "-t" << Target;
    xclip.start("xclip", arguments);
    (void)QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10000);
    return QString::fromUtf8(xclip.readAllStandardOutput());
}

} // namespace testing_support
