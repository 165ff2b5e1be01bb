#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

std::function<void(const QString&)>& messageSink()
{
    static std::function<void(const QString&)> sink;
    return sink;
}

void showBox(QMessageBox::Icon icon, const QString& message)
{
    if (messageSink()) {
        messageSink()(message);
        return;
    }
    QMessageBox box(icon, QApplication::applicationDisplayName(), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

void showErrorReport(const QString& message)
{
    showBox(QMessageBox::Critical, message);
}

// Our exceptions carry their message as UTF-8 in what(), like any other.
void showErrorReport(const std::exception& error)
{
    showErrorReport(QString::fromUtf8(error.what()));
}

void showPlainMessage(const QString& message)
{
    showBox(QMessageBox::NoIcon, message);
}

void setMessageSinkForTests(std::function<void(const QString&)> sink)
{
    messageSink() = std::move(sink);
}
