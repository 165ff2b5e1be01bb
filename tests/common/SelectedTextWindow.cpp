// A second program for the X11 tests: a window whose focused text field holds
// text, all of it selected, that Ctrl+C copies to the clipboard as in any editor.
// Usage: quillet_test_selected_text [--no-selection] [--keep-clipboard] TEXT
// Prints the window's X11 id on a line of its own once the window is on show.
// Each line read from the standard input, percent-encoded, replaces the text and
// selects all of it; "selected" on a line of its own then says it is done.
//
// --keep-clipboard copies as Tk's text widget does: the program takes the
// clipboard on its first copy and, while it keeps it, later copies only change
// what it answers, with no new owner announced. Without it, each copy takes the
// clipboard afresh, as Qt and GTK programs do.
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTest>
#include <QTextCursor>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return found;
}

// Owns the clipboard through a window of its own and answers for its text.
class KeptClipboard : public QObject, public QAbstractNativeEventFilter {
public:
    KeptClipboard()
        : FConnection(qApp->nativeInterface<QNativeInterface::QX11Application>()->connection()),
          FClipboard(atom(FConnection, "CLIPBOARD")), FTargets(atom(FConnection, "TARGETS")),
          FUtf8(atom(FConnection, "UTF8_STRING")), FText(atom(FConnection, "TEXT"))
    {
        FWindow = xcb_generate_id(FConnection);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data;
        xcb_create_window(FConnection, XCB_COPY_FROM_PARENT, FWindow, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        qApp->installNativeEventFilter(this);
    }

    void copy(const QString& Text, xcb_timestamp_t Time)
    {
        FContent = Text.toUtf8();
        if (FOwned)
            return; // the clipboard is ours already: nobody hears of the new text
        xcb_set_selection_owner(FConnection, FWindow, FClipboard, Time);
        xcb_flush(FConnection);
        FOwned = true;
    }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & ~0x80) {
        case XCB_SELECTION_CLEAR:
            if (reinterpret_cast<const xcb_selection_clear_event_t*>(event)->owner != FWindow)
                return false;
            FOwned = false;
            return true;
        case XCB_SELECTION_REQUEST: {
            const auto* request = reinterpret_cast<const xcb_selection_request_event_t*>(event);
            if (request->owner != FWindow)
                return false;
            answer(*request);
            return true;
        }
        default:
            return false;
        }
    }

private:
    void answer(const xcb_selection_request_event_t& Request)
    {
        xcb_atom_t property = Request.property == XCB_ATOM_NONE ? Request.target : Request.property;
        if (Request.target == FTargets) {
            const xcb_atom_t targets[] = {FTargets, FUtf8, XCB_ATOM_STRING, FText};
            xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, Request.requestor, property, XCB_ATOM_ATOM, 32, 4,
                                targets);
        } else if (Request.target == FUtf8 || Request.target == XCB_ATOM_STRING || Request.target == FText) {
            const xcb_atom_t type = Request.target == FText ? FUtf8 : Request.target;
            xcb_change_property(FConnection, XCB_PROP_MODE_REPLACE, Request.requestor, property, type, 8,
                                FContent.size(), FContent.constData());
        } else {
            property = XCB_ATOM_NONE; // refused
        }
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = Request.time;
        notify.requestor = Request.requestor;
        notify.selection = Request.selection;
        notify.target = Request.target;
        notify.property = property;
        xcb_send_event(FConnection, 0, Request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(FConnection);
    }

    xcb_connection_t* FConnection;
    xcb_atom_t FClipboard, FTargets, FUtf8, FText;
    xcb_window_t FWindow = 0;
    QByteArray FContent;
    bool FOwned = false;
};

// Takes the editor's Ctrl+C for the kept clipboard.
class CopyKeys : public QObject {
public:
    CopyKeys(QPlainTextEdit& Editor, KeptClipboard& Clipboard) : FEditor(Editor), FClipboard(Clipboard) {}

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (!key->matches(QKeySequence::Copy))
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept(); // a key press for the editor, not a shortcut
            return true;
        }
        const QString selected = FEditor.textCursor().selectedText().replace(QChar::ParagraphSeparator, '\n');
        if (!selected.isEmpty())
            FClipboard.copy(selected, key->timestamp());
        return true;
    }

private:
    QPlainTextEdit& FEditor;
    KeptClipboard& FClipboard;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool select = !arguments.removeOne(QStringLiteral("--no-selection"));
    const bool keep = arguments.removeOne(QStringLiteral("--keep-clipboard"));

    QPlainTextEdit editor;
    editor.setWindowTitle(QStringLiteral("Selected text"));
    editor.setPlainText(arguments.value(0));
    if (select)
        editor.selectAll();
    else
        editor.moveCursor(QTextCursor::End);

    std::unique_ptr<KeptClipboard> kept;
    std::unique_ptr<CopyKeys> copyKeys;
    if (keep) {
        kept = std::make_unique<KeptClipboard>();
        copyKeys = std::make_unique<CopyKeys>(editor, *kept);
        editor.installEventFilter(copyKeys.get());
    }

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    std::string pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buffer, got);
        for (size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
            editor.setPlainText(QString::fromUtf8(QByteArray::fromPercentEncoding(pending.substr(0, end).c_str())));
            editor.selectAll();
            std::printf("selected\n");
            std::fflush(stdout);
        }
    });

    editor.resize(400, 200);
    editor.show();
    editor.activateWindow();
    editor.setFocus();
    // A generous limit: on a loaded machine the window manager may take its time.
    if (!QTest::qWaitForWindowExposed(&editor, 50000)) {
        std::fprintf(stderr, "quillet_test_selected_text: the window was never shown\n");
        return 1;
    }
    std::printf("%llu\n", static_cast<unsigned long long>(editor.winId()));
    std::fflush(stdout);
    return app.exec();
}
