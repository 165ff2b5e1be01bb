#include "Exceptions.h"

EListError::EListError(long long index)
    : QuilletError(QStringLiteral("List index out of bounds (%1)").arg(index))
{
}

EIntOverflow::EIntOverflow() : QuilletError(QStringLiteral("Integer overflow")) {}

ERangeError::ERangeError() : QuilletError(QStringLiteral("Range check error")) {}

QString exceptionMessage(const std::exception& error)
{
    if (const auto* ours = dynamic_cast<const QuilletError*>(&error))
        return ours->message();
    return QString::fromUtf8(error.what());
}

QString exceptionIn(const char* name)
{
    return QStringLiteral("Exception in: \"%1\"").arg(QString::fromUtf8(name));
}

QString exceptionIn(const char* name, const QString& message)
{
    return exceptionIn(name) + QStringLiteral("\r\n") + message;
}

QString exceptionIn(const char* name, const QString& message, int eventCount)
{
    return exceptionIn(name, message) + QString::number(eventCount);
}
