#include "ClipboardWatcher.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void ClipboardWatcher::join()
{
    FJoined = true;
}

void ClipboardWatcher::leave()
{
    FJoined = false;
}

void ClipboardWatcher::systemChanged()
{
    if (FJoined)
        emit changed();
}

namespace {

class SystemClipboardWatcher : public ClipboardWatcher {
public:
    SystemClipboardWatcher()
    {
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
            if (!FTakingOver)
                systemChanged();
        });
    }

    QString text() const override { return QGuiApplication::clipboard()->text(QClipboard::Clipboard); }

    void takeOver() override
    {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (clipboard->ownsClipboard())
            return;
        const QMimeData* offered = clipboard->mimeData(QClipboard::Clipboard);
        if (!offered || offered->formats().isEmpty())
            return; // nobody holds it: any copy brings a new owner
        // What the user copied last stays on the clipboard, in every form it had.
        auto* kept = new QMimeData;
        for (const QString& format : offered->formats())
            if (format != QLatin1String("application/x-qt-image")) // Qt's own name for the image forms it lists
                kept->setData(format, offered->data(format));
        FTakingOver = true;
        clipboard->setMimeData(kept, QClipboard::Clipboard);
        FTakingOver = false;
    }

private:
    bool FTakingOver = false;
};

} // namespace

std::unique_ptr<ClipboardWatcher> createSystemClipboardWatcher()
{
    return std::make_unique<SystemClipboardWatcher>();
}
