#include "X11Keyboard.h"

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <cstdlib>

#include "X11Connection.h"

namespace {

// The XKB requests this file sends, laid out as the XKEYBOARD protocol defines them;
// written by hand so that the program needs no XKB headers for two requests.
xcb_extension_t xkbExtension = {"XKEYBOARD", 0};

constexpr std::uint8_t UseExtensionOpcode = 0;
constexpr std::uint8_t PerClientFlagsOpcode = 21;
constexpr std::uint16_t UseCoreKeyboard = 0x100;
constexpr std::uint32_t DetectableAutoRepeat = 1;

struct UseExtensionRequest {
    std::uint8_t majorOpcode, minorOpcode; // both filled in by xcb
    std::uint16_t length;
    std::uint16_t wantedMajor, wantedMinor;
};

struct PerClientFlagsRequest {
    std::uint8_t majorOpcode, minorOpcode;
    std::uint16_t length;
    std::uint16_t deviceSpec;
    std::uint16_t pad;
    std::uint32_t change, value, ctrlsToChange, autoCtrls, autoCtrlsValues;
};

struct PerClientFlagsReply {
    std::uint8_t responseType, deviceId;
    std::uint16_t sequence;
    std::uint32_t length, supported, value, autoCtrls, autoCtrlsValues;
    std::uint8_t pad[8];
};

// Sends one XKB request and waits for its reply; nullptr on an error. The caller frees it.
template <typename Request> void* askXkb(xcb_connection_t* Connection, std::uint8_t Opcode, Request& Body)
{
    iovec parts[4] = {}; // xcb uses the two before the request's own
    parts[2].iov_base = &Body;
    parts[2].iov_len = sizeof Body;
    const xcb_protocol_request_t request = {2, &xkbExtension, Opcode, 0};
    const unsigned sequence = xcb_send_request(Connection, XCB_REQUEST_CHECKED, parts + 2, &request);
    xcb_generic_error_t* error = nullptr;
    void* reply = xcb_wait_for_reply(Connection, sequence, &error);
    std::free(error);
    return reply;
}

} // namespace

bool setDetectableAutoRepeat(bool On)
{
    xcb_connection_t* connection = qtX11Connection();
    if (!connection)
        return false;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xkbExtension);
    if (!extension || !extension->present)
        return false;
    // The server answers a client's XKB requests only after this one, whoever sent it first.
    UseExtensionRequest use = {0, 0, 0, 1, 0};
    std::free(askXkb(connection, UseExtensionOpcode, use));

    PerClientFlagsRequest flags = {};
    flags.deviceSpec = UseCoreKeyboard;
    flags.change = DetectableAutoRepeat;
    flags.value = On ? DetectableAutoRepeat : 0;
    auto* reply = static_cast<PerClientFlagsReply*>(askXkb(connection, PerClientFlagsOpcode, flags));
    const bool done = reply && bool(reply->value & DetectableAutoRepeat) == On;
    std::free(reply);
    return done;
}
