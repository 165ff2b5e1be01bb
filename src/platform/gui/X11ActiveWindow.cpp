#include "X11ActiveWindow.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

#include "X11Connection.h"

namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// The window that a WINDOW property of Window names; 0 when the property or the window is missing.
xcb_window_t windowProperty(xcb_connection_t* Connection, xcb_window_t Window, xcb_atom_t Property)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(Connection, 0, Window, Property, XCB_ATOM_WINDOW, 0, 1);
    xcb_generic_error_t* error = nullptr;
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(Connection, cookie, &error), &std::free);
    std::free(error);
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4)
        return XCB_WINDOW_NONE;
    return *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
}

} // namespace

X11ActiveWindowQuery::X11ActiveWindowQuery()
{
    FConnection = qtX11Connection();
    if (!FConnection)
        return;
    FRoot = xcb_setup_roots_iterator(xcb_get_setup(FConnection)).data->root;
    FSupportingCheck = internAtom(FConnection, "_NET_SUPPORTING_WM_CHECK");
    FActiveWindow = internAtom(FConnection, "_NET_ACTIVE_WINDOW");
}

// A manager that ended may leave its properties on the root window: it runs only
// while the window it names still exists and names itself.
bool X11ActiveWindowQuery::managerRuns()
{
    const xcb_window_t check = windowProperty(FConnection, FRoot, FSupportingCheck);
    return check != XCB_WINDOW_NONE && windowProperty(FConnection, check, FSupportingCheck) == check;
}

WId X11ActiveWindowQuery::activeWindow()
{
    if (!FConnection)
        return 0;
    if (managerRuns())
        return windowProperty(FConnection, FRoot, FActiveWindow);

    Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(FConnection, xcb_get_input_focus(FConnection), nullptr), &std::free);
    if (!focus || focus->focus == XCB_WINDOW_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        focus->focus == FRoot)
        return 0;
    return focus->focus;
}

std::unique_ptr<ActiveWindowQuery> createSystemActiveWindowQuery()
{
    return std::make_unique<X11ActiveWindowQuery>();
}

bool isOwnWindow(WId Id)
{
    if (Id == 0)
        return false;
    for (const QWindow* window : QGuiApplication::allWindows())
        if (window->handle() && window->winId() == Id)
            return true;
    return false;
}
