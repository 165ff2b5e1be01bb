#pragma once

#include <QString>

#include <exception>
#include <functional>

// The program's default error report: a message box with the failure's text,
// after which the program goes on.
void showErrorReport(const QString& message);
void showErrorReport(const std::exception& error);

// A plain message box with an OK button.
void showPlainMessage(const QString& message);

// A question with Yes and No buttons; true for Yes.
bool askYesNo(const QString& message);

// Runs body; a failure it raises is shown by the default error report and goes no
// further. Returns false when body failed.
template <typename Body> bool reportingErrors(Body&& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        showErrorReport(error);
        return false;
    }
}

// Tests collect the texts of the boxes instead of showing them; an empty function
// brings the boxes back.
void setMessageSinkForTests(std::function<void(const QString&)> sink);
// Tests answer the questions: the function gets the question and gives the answer.
void setQuestionAnswerForTests(std::function<bool(const QString&)> answer);
