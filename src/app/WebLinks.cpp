#include "WebLinks.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include <exception>

void OpenWebLink(const QString& Address)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        QDesktopServices::openUrl(QUrl(Address));
    } catch (const std::exception&) {
        // A link that does not open is no reason to bother the user.
    }
    QApplication::restoreOverrideCursor();
}
