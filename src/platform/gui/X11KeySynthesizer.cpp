#include "X11KeySynthesizer.h"

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>

#include "X11Connection.h"

X11KeySynthesizer::X11KeySynthesizer() : FConnection(qtX11Connection()) {}

bool X11KeySynthesizer::sendKeys(const std::vector<SyntheticKey>& Keys)
{
    if (!FConnection)
        return false;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(FConnection, &xcb_test_id);
    if (!extension || !extension->present)
        return false;

    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(FConnection);
    if (!symbols)
        return false;
    std::vector<xcb_keycode_t> codes;
    for (const SyntheticKey& key : Keys) {
        const xcb_keysym_t keysym = keysymOf(key.Key);
        xcb_keycode_t* found = keysym ? xcb_key_symbols_get_keycode(symbols, keysym) : nullptr;
        if (found && *found != XCB_NO_SYMBOL)
            codes.push_back(*found);
        std::free(found);
    }
    xcb_key_symbols_free(symbols);
    if (codes.size() != Keys.size())
        return false; // a key the keyboard map lacks: nothing half typed

    for (size_t i = 0; i < Keys.size(); ++i)
        xcb_test_fake_input(FConnection, Keys[i].Pressed ? XCB_KEY_PRESS : XCB_KEY_RELEASE, codes[i], XCB_CURRENT_TIME,
                            XCB_WINDOW_NONE, 0, 0, 0);
    xcb_flush(FConnection);
    return true;
}

std::unique_ptr<KeySynthesizer> createSystemKeySynthesizer()
{
    return std::make_unique<X11KeySynthesizer>();
}
