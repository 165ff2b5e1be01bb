// A second program for the X11 tests: a window whose focused text field holds
// text, all of it selected, that Ctrl+C copies to the clipboard as in any editor.
// Usage: quillet_test_selected_text [--no-selection] TEXT
// Prints the window's X11 id on a line of its own once the window is on show.
#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool select = !arguments.removeOne(QStringLiteral("--no-selection"));

    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("Selected text"));
    editor.setPlainText(arguments.value(0));
    if (select)
        editor.selectAll();
    else
        editor.moveCursor(QTextCursor::End);
    editor.resize(400, 200);
    editor.show();
    editor.activateWindow();
    editor.setFocus();
    if (!QTest::qWaitForWindowExposed(&editor))
        return 1;
    std::printf("%llu\n", static_cast<unsigned long long>(editor.winId()));
    std::fflush(stdout);
    return app.exec();
}
