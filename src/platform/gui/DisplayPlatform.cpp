#include "DisplayPlatform.h"

QByteArray startPlatform(const QProcessEnvironment& environment)
{
    const auto isSet = [&](const char* name) { return !environment.value(QLatin1String(name)).isEmpty(); };
    if (isSet("QT_QPA_PLATFORM") || !isSet("WAYLAND_DISPLAY") || !isSet("DISPLAY"))
        return QByteArray();
    return QByteArrayLiteral("xcb;wayland");
}
