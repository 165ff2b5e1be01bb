#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About box: the program's name, its version, the web site and the authors;
// the version, the web site, the authors and the donation picture are links.
class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    // Shows the box modally; true when it was closed with OK.
    bool Execute();

    QLabel* Image1;
    QLabel* lblApplicationName;
    QLabel* lblVersion;
    QLabel* Image2;
    QLabel* lblWebSite;
    QLabel* lblWrittenBy;
    QPushButton* btnOK;

    void FormCreate();
    void Image2Click();
    void lblWebSiteClick();
    void lblWrittenByClick();
    void lblVersionClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
