#pragma once

#include <optional>

// Whether the desktop offers a notification area (a tray) right now. Without one
// the program must not hide its window, or the user could not get it back.
bool systemTrayAvailable();

// Tests decide the answer (std::nullopt asks the desktop again).
void setSystemTrayAvailableForTests(std::optional<bool> available);
