#include "HintRoom.h"

#include <QFontMetrics>
#include <QScreen>
#include <QToolTip>

#include <algorithm>

namespace {

// Qt wraps a long line of a rich-text tool tip at about 80 average characters, and
// breaking at words leaves each wrapped line a little shorter.
constexpr int HintLineLength = 72;

} // namespace

HintRoom hintRoomOn(const QScreen* Screen)
{
    if (!Screen)
        return {};
    const int lineHeight = std::max(1, QFontMetrics(QToolTip::font()).lineSpacing());
    // One line's height goes to the hint's frame and margins.
    const int lines = std::max(1, Screen->availableGeometry().height() / lineHeight - 1);
    return {lines, qsizetype(lines) * HintLineLength};
}
