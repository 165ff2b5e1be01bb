#include "ConfirmationBox.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <utility>

#include "platform/GetText.h"

QMessageBox::StandardButton askConfirmation(QWidget* Parent, const QString& Text, QMessageBox::StandardButtons Buttons)
{
    QMessageBox box(QMessageBox::Question, _("Confirm"), Text, Buttons, Parent);
    box.setObjectName(QStringLiteral("dlgConfirm"));
    box.setTextFormat(Qt::PlainText);
    // Qt's own button texts would stay English in a translated program.
    const std::pair<QMessageBox::StandardButton, QString> captions[] = {
        {QMessageBox::Yes, _("Yes")}, {QMessageBox::No, _("No")}, {QMessageBox::Cancel, _("Cancel")}};
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* shown = box.button(button))
            shown->setText(caption);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(Buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No);

    box.adjustSize();
    QPoint corner = QCursor::pos();
    if (const QScreen* screen = QGuiApplication::screenAt(corner)) {
        const QRect area = screen->availableGeometry();
        corner.setX(std::clamp(corner.x(), area.left(), std::max(area.left(), area.right() - box.width())));
        corner.setY(std::clamp(corner.y(), area.top(), std::max(area.top(), area.bottom() - box.height())));
    }
    box.move(corner);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
