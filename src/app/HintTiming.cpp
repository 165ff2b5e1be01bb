#include "HintTiming.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QProxyStyle>
#include <QWidget>

namespace {

// The application's style, with tool tips that wake up at once.
class ImmediateHintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// A tall hint lies a few pixels beside the mouse. When the mouse runs into it, the
// control below sees the mouse leave and Qt hides the hint; with the mouse resting
// on the hint, or moving on over it, the control asked for no hint again until the
// mouse left the window and came back. So the hint steps aside at once: it goes,
// and the control under the mouse is asked for its hint at the mouse's place.
class HintDodger : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Enter || !watched->isWidgetType())
            return false;
        auto* hint = static_cast<QWidget*>(watched);
        if (hint->windowType() != Qt::ToolTip || !hint->isVisible())
            return false;
        // A hint with no room beside the mouse came up under it again: Qt hides it
        // as usual, until the mouse moves on.
        const QPoint mouse = QCursor::pos();
        if (mouse == FDodgedAt)
            return false;
        FDodgedAt = mouse;
        hint->hide();
        // Later: a new hint takes the place of this one, which is still handling the event.
        QMetaObject::invokeMethod(
            this,
            [] {
                const QPoint mouse = QCursor::pos();
                if (QWidget* below = QApplication::widgetAt(mouse)) {
                    QHelpEvent help(QEvent::ToolTip, below->mapFromGlobal(mouse), mouse);
                    QApplication::sendEvent(below, &help);
                }
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    QPoint FDodgedAt{-1, -1}; // where the mouse last ran into a hint
};

} // namespace

void useImmediateHints()
{
    if (dynamic_cast<ImmediateHintStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new ImmediateHintStyle);
    qApp->installEventFilter(new HintDodger(qApp));
}
