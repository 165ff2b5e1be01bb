#include "X11Connection.h"

#include <QCoreApplication>
#include <QGuiApplication>

xcb_connection_t* qtX11Connection()
{
    auto* guiApplication = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* application = guiApplication ? guiApplication->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!application || guiApplication->platformName() != QLatin1String("xcb"))
        return nullptr;
    return application->connection();
}
