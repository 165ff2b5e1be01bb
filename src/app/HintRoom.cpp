#include "HintRoom.h"

#include <QFontMetrics>
#include <QScreen>
#include <QStringList>
#include <QToolTip>

#include <algorithm>

#include "WrappedText.h"

namespace {

// A tool tip of rich text lays its lines out at most 80 widths of "x" wide, less
// its document's margins on either side.
constexpr int HintLineXs = 80;
constexpr int DocumentMargins = 2 * 4;
// The hint's frame, and the gap Qt leaves between the mouse and a hint.
constexpr int HintEdges = 16;

} // namespace

HintRoom hintRoomOn(const QScreen* Screen)
{
    if (!Screen)
        return {};
    const QFont font = QToolTip::font();
    const QFontMetrics metrics(font);
    const int lineHeight = std::max(1, metrics.lineSpacing());
    // One line's height goes to the hint's frame and margins.
    const QRect area = Screen->availableGeometry();
    const int lines = std::max(1, area.height() / lineHeight - 1);
    // Lines no wider than half the screen: on one side of the mouse or the other a
    // hint always fits, so that it never lies under the mouse (which would take the
    // mouse from the control below).
    const int width = std::min(HintLineXs * metrics.horizontalAdvance(QLatin1Char('x')), area.width() / 2 - HintEdges);
    return {lines, std::max(1, width - DocumentMargins), font};
}

QString textForHint(const QString& Text, const HintRoom& Room)
{
    // No line holds more characters than the narrowest one fills it with.
    const QFontMetrics metrics(Room.font);
    const int narrowest = std::max(1, std::min(metrics.horizontalAdvance(QLatin1Char(' ')),
                                               metrics.horizontalAdvance(QLatin1Char('i'))));
    const qsizetype reach = qsizetype(Room.lines) * (Room.lineWidth / narrowest + 1);
    QString text = Text.left(reach);
    const bool more = text.size() < Text.size();
    if (more && !text.isEmpty() && text.back().isHighSurrogate())
        text.chop(1); // half a character would show as a box
    text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // Blank lines at the end are no text that goes on.
    qsizetype end = text.size();
    while (end > 0 && text[end - 1].isSpace())
        --end;
    text.truncate(end);
    return wrappedLines(text, more, Room.font, Room.lineWidth, Room.lines).join(QLatin1Char('\n'));
}
