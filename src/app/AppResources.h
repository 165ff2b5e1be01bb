#pragma once

// Registers the program's pictures (Quillet.qrc). The windows call it before they
// load a picture: a static library's resources are not registered by themselves.
void ensureAppResources();
