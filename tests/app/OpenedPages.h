#pragma once

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

// Collects the files the program asks the desktop to open, instead of opening them.
class OpenedPages : public QObject {
    Q_OBJECT
public:
    OpenedPages() { QDesktopServices::setUrlHandler("file", this, "open"); }
    ~OpenedPages() override { QDesktopServices::unsetUrlHandler("file"); }
    QList<QUrl> Pages;
public slots:
    void open(const QUrl& url) { Pages << url; }
};
