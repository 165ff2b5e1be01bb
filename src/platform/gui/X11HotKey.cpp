#include "X11HotKey.h"

#include <QCoreApplication>


#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>

#include "X11Connection.h"

namespace {

// NumLock is Mod2 on practically every X11 keyboard map.
constexpr std::uint16_t lockMasks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

std::uint16_t x11Modifiers(Qt::KeyboardModifiers modifiers)
{
    std::uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

} // namespace

X11HotKey::X11HotKey(QObject* parent) : HotKey(parent)
{
    // Not on X11 (offscreen, Wayland): every registration fails.
    FConnection = qtX11Connection();
    if (!FConnection)
        return;
    const xcb_setup_t* setup = xcb_get_setup(FConnection);
    FRoot = xcb_setup_roots_iterator(setup).data->root;
}

X11HotKey::~X11HotKey()
{
    unregisterHotKey();
}

bool X11HotKey::registerHotKey(Qt::KeyboardModifiers modifiers, Qt::Key key)
{
    unregisterHotKey();
    const xcb_keysym_t keysym = keysymOf(key);
    if (!FConnection || keysym == 0)
        return false;

    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(FConnection);
    if (!symbols)
        return false;
    xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(symbols, keysym);
    for (xcb_keycode_t* code = keycodes; code && *code != XCB_NO_SYMBOL; ++code)
        FKeycodes.push_back(*code);
    std::free(keycodes);
    xcb_key_symbols_free(symbols);
    FModifiers = x11Modifiers(modifiers);

    bool refused = FKeycodes.empty();
    for (std::uint8_t keycode : FKeycodes)
        for (std::uint16_t lock : lockMasks) {
            xcb_void_cookie_t cookie = xcb_grab_key_checked(FConnection, 1, FRoot, FModifiers | lock, keycode,
                                                            XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
            // BadAccess: another client holds the combination.
            if (xcb_generic_error_t* error = xcb_request_check(FConnection, cookie)) {
                refused = true;
                std::free(error);
            }
        }
    if (refused) {
        ungrabAll();
        return false;
    }
    qApp->installNativeEventFilter(this);
    FFilterInstalled = true;
    return true;
}

void X11HotKey::unregisterHotKey()
{
    if (FFilterInstalled && qApp)
        qApp->removeNativeEventFilter(this);
    FFilterInstalled = false;
    ungrabAll();
}

void X11HotKey::ungrabAll()
{
    if (FConnection) {
        for (std::uint8_t keycode : FKeycodes)
            for (std::uint16_t lock : lockMasks)
                xcb_ungrab_key(FConnection, keycode, FRoot, FModifiers | lock);
        xcb_flush(FConnection);
    }
    FKeycodes.clear();
}

bool X11HotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_KEY_PRESS)
        return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    // Only the modifier bits count (the state also carries the mouse buttons), and the locks never do.
    const std::uint16_t state = press->state & 0xFF & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
    for (std::uint8_t keycode : FKeycodes)
        if (press->detail == keycode && state == FModifiers) {
            emit pressed();
            return true;
        }
    return false;
}

std::unique_ptr<HotKey> createSystemHotKey()
{
    return std::make_unique<X11HotKey>();
}
