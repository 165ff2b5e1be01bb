#include "EventRowDelegate.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

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

    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        painter->setFont(cellFont(option, index));
        painter->setPen(index.data(Qt::ForegroundRole).value<QColor>());
        const auto alignment = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        painter->drawText(cell.adjusted(TextMargin, 0, -TextMargin, 0), int(alignment) | Qt::TextWordWrap,
                          withPlainLineBreaks(text));
    }

    painter->restore();
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
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.isEmpty()) {
        const QFontMetrics metrics(cellFont(option, index));
        for (const QString& line : withPlainLineBreaks(text).split(QLatin1Char('\n')))
            width = std::max(width, metrics.horizontalAdvance(line) + 2 * TextMargin + 1);
    }
    return {width, height};
}
