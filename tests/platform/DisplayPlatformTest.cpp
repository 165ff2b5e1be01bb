#include <gtest/gtest.h>

#include "platform/gui/DisplayPlatform.h"

TEST(startPlatform, ChoosesX11UnderXWaylandUnlessTheUserChose)
{
    struct Case {
        const char* qtPlatform;
        const char* waylandDisplay;
        const char* display;
        const char* expected;
    };
    const Case cases[] = {
        {nullptr, "wayland-0", ":0", "xcb;wayland"}, // Wayland with XWayland
        {"", "wayland-0", ":1", "xcb;wayland"},      // an empty choice is none
        {"wayland", "wayland-0", ":0", ""},          // the user's choice wins
        {"xcb", "wayland-0", ":0", ""},
        {nullptr, "wayland-0", nullptr, ""}, // no X server at all
        {nullptr, "wayland-0", "", ""},
        {nullptr, nullptr, ":0", ""}, // plain X11: Qt picks it anyway
        {nullptr, nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        QProcessEnvironment environment;
        environment.insert("HOME", "/home/ann");
        for (const auto& [name, value] : {std::pair{"QT_QPA_PLATFORM", c.qtPlatform},
                                          {"WAYLAND_DISPLAY", c.waylandDisplay},
                                          {"DISPLAY", c.display}})
            if (value)
                environment.insert(name, value);
        EXPECT_EQ(startPlatform(environment), QByteArray(c.expected));
    }
}
