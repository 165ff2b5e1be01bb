#pragma once

// The clipboard as another program sees it, through xclip, for the X11 tests.

#include <QProcess>
#include <QTest>

namespace testing_support {

// Copies Text as a program of its own, which then holds the clipboard.
inline bool copyWithXclip(const QByteArray& Text)
{
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard"});
    xclip.write(Text);
    xclip.closeWriteChannel();
    return xclip.waitForFinished(5000);
}

// What another program finds on the clipboard. Events run meanwhile: the
// clipboard may be this program's to answer for.
inline QString pasteWithXclip()
{
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-o"});
    (void)QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10000);
    return QString::fromUtf8(xclip.readAllStandardOutput());
}

} // namespace testing_support
