#pragma once

#include <QByteArray>
#include <QString>

#include <exception>
#include <utility>

// The program's failures: each carries the exact message the user sees.
class QuilletError : public std::exception {
public:
    explicit QuilletError(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}
    const QString& message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

// "List index out of bounds (%d)"
class EListError : public QuilletError {
public:
    explicit EListError(long long index);
};

// "Integer overflow"
class EIntOverflow : public QuilletError {
public:
    EIntOverflow();
};

// "Range check error"
class ERangeError : public QuilletError {
public:
    ERangeError();
};

// Date encoding and Julian conversion failures.
class EConvertError : public QuilletError {
public:
    using QuilletError::QuilletError;
};

// A failure in reading or writing a file (wrong format, unreadable, unwritable).
class EFileError : public QuilletError {
public:
    using QuilletError::QuilletError;
};

// The message of any caught exception: ours as held, others from what().
QString exceptionMessage(const std::exception& error);

// The "Exception in: " wrapper texts:
//   exceptionIn(name)                  Exception in: "name"
//   exceptionIn(name, message)         Exception in: "name" CR LF message
//   exceptionIn(name, message, count)  the same, with the event count appended
QString exceptionIn(const char* name);
QString exceptionIn(const char* name, const QString& message);
QString exceptionIn(const char* name, const QString& message, int eventCount);

// Runs body; any exception it raises is replaced by one carrying the wrapper text
// with the caught message.
template <typename Body>
decltype(auto) wrapExceptions(const char* name, Body&& body)
{
    try {
        return body();
    } catch (const std::exception& error) {
        throw QuilletError(exceptionIn(name, exceptionMessage(error)));
    }
}
