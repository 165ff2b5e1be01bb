#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for one line of text.
class TfrmGetText : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGetText(QWidget* parent = nullptr);

    // Shows Question with Default in the edit box, modally; true when closed with Done.
    bool Execute(const QString& Caption, const QString& Question, const QString& Default);
    // The edit box's text as typed (also after Cancel).
    QString GetAnswer() const;

    QLabel* lblQuestion;
    QLineEdit* edtAnswer;
    QPushButton* btnDone;
    QPushButton* btnCancel;
};
