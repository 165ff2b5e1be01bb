#include "EventRowDelegate.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

#include "EventViewModel.h"
#include "WrappedText.h"

namespace {

const QColor SelectionColour(0xFF, 0xFF, 0x00);
const QColor GridColour(0xD8, 0xD8, 0xD8);

// Texts are drawn with Qt's line breaks.
QString withPlainLineBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QFont cellFont(const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QVariant font = index.data(Qt::FontRole);
    return font.isValid() ? font.value<QFont>().resolve(option.font) : option.font;
}

// At most MaxLength characters of the cell's text, without copying the rest of it.
QString textBeginning(const QModelIndex& index, qsizetype MaxLength)
{
    if (const auto* events = qobject_cast<const EventViewModel*>(index.model()))
        return events->cellTextBeginning(index, MaxLength);
    return index.data(Qt::DisplayRole).toString().left(MaxLength);
}

// Sizing a column to its contents measures this much of a text at most.
constexpr qsizetype MeasuredLength = 4096;

} // namespace

void EventRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect cell = option.rect;
    painter->save();

    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(cell, selected ? SelectionColour : index.data(Qt::BackgroundRole).value<QColor>());
    painter->setPen(GridColour);
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());

    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull()) {
        const QSize size = picture.deviceIndependentSize().toSize();
        painter->drawPixmap(cell.left() + (cell.width() - size.width()) / 2,
                            cell.top() + (cell.height() - size.height()) / 2, picture);
    }

    paintText(painter, option, index);
    painter->restore();
}

void EventRowDelegate::paintText(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const QRect area = option.rect.adjusted(TextMargin, TextMargin, -TextMargin, -TextMargin);
    const QFont font = cellFont(option, index);
    const QFontMetrics metrics(font);
    const int lineHeight = std::max(1, metrics.height());
    // Only the lines of the row's top that the list can show are laid out: rows
    // scroll whole, so a row taller than the list never shows its lower part.
    int height = area.height();
    if (const auto* view = qobject_cast<const QAbstractScrollArea*>(option.widget))
        height = std::min(height, view->viewport()->height() + lineHeight);
    const int maxLines = std::max(1, height / lineHeight);
    // No character is narrower than a pixel: this much text fills the lines, and
    // what a title holds beyond it is never laid out.
    const qsizetype enough = qsizetype(maxLines) * (std::max(area.width(), 0) + 2);
    QString text = textBeginning(index, enough + 1);
    const bool more = text.size() > enough;
    if (more)
        text.truncate(enough);
    const QStringList lines = wrappedLines(withPlainLineBreaks(text), more, font, area.width(), maxLines);
    if (lines.isEmpty())
        return;

    painter->setClipRect(option.rect, Qt::IntersectClip);
    painter->setFont(font);
    painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
    const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    int y = area.top();
    if (alignment & Qt::AlignVCenter)
        y += (area.height() - int(lines.size()) * lineHeight) / 2;
    for (const QString& line : lines) {
        int x = area.left();
        if (alignment & Qt::AlignHCenter)
            x += (area.width() - metrics.horizontalAdvance(line)) / 2;
        painter->drawText(x, y + metrics.ascent(), line);
        y += lineHeight;
    }
}

QSize EventRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QSize hint = index.data(Qt::SizeHintRole).toSize();
    const int height = std::max(hint.height(), 0);

    // The tree asks for row heights with a negative width: the text is only
    // needed when a column is sized to its contents.
    if (option.rect.width() < 0)
        return {0, height};

    int width = 0;
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull())
        width = picture.deviceIndependentSize().toSize().width();
    const QString text = textBeginning(index, MeasuredLength);
    if (!text.isEmpty()) {
        const QFontMetrics metrics(cellFont(option, index));
        for (const QString& line : withPlainLineBreaks(text).split(QLatin1Char('\n')))
            width = std::max(width, metrics.horizontalAdvance(line) + 2 * TextMargin + 1);
    }
    return {width, height};
}
