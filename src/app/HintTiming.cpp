#include "HintTiming.h"

#include <QApplication>
#include <QProxyStyle>

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

} // namespace

void useImmediateHints()
{
    if (!dynamic_cast<ImmediateHintStyle*>(QApplication::style()))
        QApplication::setStyle(new ImmediateHintStyle);
}
