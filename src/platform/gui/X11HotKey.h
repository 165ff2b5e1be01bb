#pragma once

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <vector>

#include "HotKey.h"

struct xcb_connection_t;

// A key grabbed on the X11 root window. The grab is made once for each state of
// NumLock and CapsLock, so the combination works whatever those locks show.
class X11HotKey : public HotKey, private QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit X11HotKey(QObject* parent = nullptr);
    ~X11HotKey() override;

    bool registerHotKey(Qt::KeyboardModifiers modifiers, Qt::Key key) override;
    void unregisterHotKey() override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void ungrabAll();

    xcb_connection_t* FConnection = nullptr;
    std::uint32_t FRoot = 0;
    std::vector<std::uint8_t> FKeycodes;
    std::uint16_t FModifiers = 0;
    bool FFilterInstalled = false;
};
