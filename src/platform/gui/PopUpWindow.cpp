#include "PopUpWindow.h"

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "X11Connection.h"

void keepOffTaskBar(QWidget* Window)
{
    xcb_connection_t* connection = qtX11Connection();
    if (!connection || !Window)
        return;
    const auto window = static_cast<xcb_window_t>(Window->winId());
    const xcb_atom_t state = internAtom(connection, "_NET_WM_STATE");
    std::vector<xcb_atom_t> atoms;
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER", "_NET_WM_STATE_ABOVE"})
        atoms.push_back(internAtom(connection, name));
    // Keep the states Qt or others set, add ours once.
    const auto cookie = xcb_get_property(connection, 0, window, state, XCB_ATOM_ATOM, 0, 64);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
        if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
            const auto* present = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
            for (int i = 0, n = xcb_get_property_value_length(reply) / 4; i < n; ++i)
                if (std::find(atoms.begin(), atoms.end(), present[i]) == atoms.end())
                    atoms.push_back(present[i]);
        }
        std::free(reply);
    }
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(connection);
}

QRect realGeometry(const QWidget* Window)
{
    xcb_connection_t* connection = qtX11Connection();
    if (!connection || !Window || !Window->testAttribute(Qt::WA_WState_Created))
        return Window ? Window->geometry() : QRect();
    const auto window = static_cast<xcb_window_t>(Window->winId());
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return Window->geometry();
    const auto translated = xcb_translate_coordinates(connection, window, geometry->root, 0, 0);
    xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(connection, translated, nullptr);
    const QRect result =
        place ? QRect(place->dst_x, place->dst_y, geometry->width, geometry->height) : Window->geometry();
    std::free(place);
    std::free(geometry);
    return result;
}
