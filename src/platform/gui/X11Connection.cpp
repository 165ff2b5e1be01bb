#include "X11Connection.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>

xcb_connection_t* qtX11Connection()
{
    auto* guiApplication = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* application = guiApplication ? guiApplication->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!application || guiApplication->platformName() != QLatin1String("xcb"))
        return nullptr;
    return application->connection();
}

std::uint32_t internAtom(xcb_connection_t* Connection, const char* Name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(Connection, 0, static_cast<std::uint16_t>(qstrlen(Name)), Name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(Connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

std::uint32_t keysymOf(Qt::Key Key)
{
    switch (Key) {
    case Qt::Key_Control:
        return 0xffe3; // Control_L
    case Qt::Key_Shift:
        return 0xffe1; // Shift_L
    case Qt::Key_Alt:
        return 0xffe9; // Alt_L
    default:
        break;
    }
    if (Key >= Qt::Key_A && Key <= Qt::Key_Z)
        return 'a' + (Key - Qt::Key_A);
    if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
        return '0' + (Key - Qt::Key_0);
    return 0;
}
