#include "BaseSizeHint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace {

// Sees every window shown: a window made anew (changed flags) starts without a base size again.
class BaseSizeHintFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        if (Event->type() == QEvent::Show && Watched->isWidgetType()) {
            // Shown before the window is mapped, so the manager never sees the invalid base.
            const QWidget* widget = static_cast<QWidget*>(Watched);
            QWindow* window = widget->isWindow() ? widget->windowHandle() : nullptr;
            if (window && !window->baseSize().isValid())
                window->setBaseSize(QSize(0, 0));
        }
        return false;
    }
};

} // namespace

void keepBaseSizeHintsValid()
{
    qApp->installEventFilter(new BaseSizeHintFilter(qApp));
}
