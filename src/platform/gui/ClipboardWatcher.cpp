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

// Names an owner lists that are no data of its own: the X11 selection's
// questions, which Qt answers itself, and Qt's name for the image forms it lists.
bool isClipboardProtocol(const QString& Format)
{
    static const QStringList protocol{"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "application/x-qt-image"};
    return protocol.contains(Format);
}

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
            if (!isClipboardProtocol(format))
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
