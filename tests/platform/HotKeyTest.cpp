#include <gtest/gtest.h>

#include "platform/gui/HotKey.h"

// Without an X11 display (here: no GUI at all) registration fails cleanly.
TEST(HotKey, RegistrationFailsWithoutX11)
{
    std::unique_ptr<HotKey> hotKey = createSystemHotKey();
    EXPECT_FALSE(hotKey->registerHotKey(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_E));
    hotKey->unregisterHotKey();
}
