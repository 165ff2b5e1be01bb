#include "ClipboardWatcher.h"

#include <QClipboard>
#include <QGuiApplication>

void ClipboardWatcher::join()
{
    if (FJoined)
        return;
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardWatcher::changed);
    FJoined = true;
}

void ClipboardWatcher::leave()
{
    if (!FJoined)
        return;
    disconnect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &ClipboardWatcher::changed);
    FJoined = false;
}

QString ClipboardWatcher::text()
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}
