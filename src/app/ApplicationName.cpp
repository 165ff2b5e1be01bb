#include "ApplicationName.h"

#include <QCoreApplication>

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillet"));
}
