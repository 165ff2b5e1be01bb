#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// A message with an OK button, for reports the caller words itself.
class TfrmInfoDialog : public QDialog {
    Q_OBJECT
public:
    explicit TfrmInfoDialog(QWidget* parent = nullptr);

    // Shows Message under Caption modally; true when closed with OK.
    bool Execute(const QString& Caption, const QString& Message);

    QLabel* Image1;
    QLabel* stxtMessage;
    QPushButton* btnOk;
};
