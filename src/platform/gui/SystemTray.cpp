#include "SystemTray.h"

#include <QSystemTrayIcon>

namespace {
std::optional<bool>& availableForTests()
{
    static std::optional<bool> available;
    return available;
}
} // namespace

bool systemTrayAvailable()
{
    if (availableForTests())
        return *availableForTests();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void setSystemTrayAvailableForTests(std::optional<bool> available)
{
    availableForTests() = available;
}
