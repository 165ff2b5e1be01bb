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

std::function<bool(const QString&)>& questionAnswer()
{
    static std::function<bool(const QString&)> answer;
    return answer;
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

bool askYesNo(const QString& message)
{
    if (questionAnswer())
        return questionAnswer()(message);
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), message,
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void setMessageSinkForTests(std::function<void(const QString&)> sink)
{
    messageSink() = std::move(sink);
}

void setQuestionAnswerForTests(std::function<bool(const QString&)> answer)
{
    questionAnswer() = std::move(answer);
}
