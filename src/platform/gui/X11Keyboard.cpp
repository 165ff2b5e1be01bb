#include "X11Keyboard.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QObject>

#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <sys/uio.h>

#include <cstdlib>

#include "X11Connection.h"

namespace {

// The XKB and XInput requests and events this file uses, laid out as the protocols
// define them; written by hand so that the program needs no headers of either.
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

// XInput 2's raw key releases: the server sends them to whoever asks, wherever the
// focus is, so that a release that goes to another window (the root, when the focus
// reverts there after a window closes) is seen too.
xcb_extension_t inputExtension = {"XInputExtension", 0};

constexpr std::uint8_t SelectEventsOpcode = 46;
constexpr std::uint16_t AllMasterDevices = 1;
constexpr std::uint16_t RawKeyRelease = 14;

struct SelectEventsRequest {
    std::uint8_t majorOpcode, minorOpcode;
    std::uint16_t length;
    std::uint32_t window;
    std::uint16_t maskCount, pad;
    std::uint16_t deviceId, maskLength; // one mask of one four-byte unit
    std::uint32_t mask;
};

struct RawKeyEvent {
    std::uint8_t responseType, extension;
    std::uint16_t sequence;
    std::uint32_t length;
    std::uint16_t eventType, deviceId;
    std::uint32_t time, detail;
};

// The XInput opcode when the server now sends the raw key releases; 0 when it will not.
std::uint8_t selectRawKeyReleases(xcb_connection_t* Connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(Connection, &inputExtension);
    if (!extension || !extension->present)
        return 0;
    SelectEventsRequest select = {};
    select.window = xcb_setup_roots_iterator(xcb_get_setup(Connection)).data->root;
    select.maskCount = 1;
    select.deviceId = AllMasterDevices;
    select.maskLength = 1;
    select.mask = 1u << RawKeyRelease;
    iovec parts[4] = {};
    parts[2].iov_base = &select;
    parts[2].iov_len = sizeof select;
    const xcb_protocol_request_t request = {2, &inputExtension, SelectEventsOpcode, 1};
    const xcb_void_cookie_t cookie = {xcb_send_request(Connection, XCB_REQUEST_CHECKED, parts + 2, &request)};
    xcb_generic_error_t* error = xcb_request_check(Connection, cookie);
    std::free(error);
    return error ? 0 : extension->major_opcode;
}

class KeyReleaseWatch : public QObject, public QAbstractNativeEventFilter {
public:
    KeyReleaseWatch(QObject* owner, xcb_connection_t* connection,
                    std::function<void(std::uint32_t, std::uint64_t)> released)
        : QObject(owner), FRawOpcode(selectRawKeyReleases(connection)), FReleased(std::move(released))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~KeyReleaseWatch() override
    {
        // Gone with the application, which drops its filters itself.
        if (QCoreApplication* application = QCoreApplication::instance())
            application->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int type = event->response_type & ~0x80;
        if (type == XCB_KEY_RELEASE) {
            const auto* release = static_cast<const xcb_key_release_event_t*>(message);
            FReleased(release->detail, release->time);
        } else if (type == XCB_GE_GENERIC && FRawOpcode != 0) {
            const auto* raw = static_cast<const RawKeyEvent*>(message);
            if (raw->extension == FRawOpcode && raw->eventType == RawKeyRelease)
                FReleased(raw->detail, raw->time);
        }
        return false;
    }

private:
    std::uint8_t FRawOpcode;
    std::function<void(std::uint32_t, std::uint64_t)> FReleased;
};

} // namespace

bool setDetectableAutoRepeat(bool On)
{
    xcb_connection_t* connection = qtX11Connection();
    if (!connection)
        return false;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xkbExtension);
    if (!extension || !extension->present)
        return false;
    // XKB answers a connection only once it has asked for the extension; Qt has, as a
    // rule, and asking again does no harm.
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

void watchX11KeyReleases(QObject* Owner, std::function<void(std::uint32_t, std::uint64_t)> Released)
{
    if (xcb_connection_t* connection = qtX11Connection())
        new KeyReleaseWatch(Owner, connection, std::move(Released));
}
