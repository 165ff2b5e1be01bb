#include "ElidedTextLabel.h"

#include <QPainter>
#include <QTextLayout>

ElidedTextLabel::ElidedTextLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
}

// The label takes whatever room its layout leaves; the text adapts to it.
QSize ElidedTextLabel::sizeHint() const
{
    return {0, 0};
}

QSize ElidedTextLabel::minimumSizeHint() const
{
    return {0, 0};
}

void ElidedTextLabel::paintEvent(QPaintEvent*)
{
    const QRect area = contentsRect();
    if (area.width() <= 0 || area.height() <= 0 || text().isEmpty())
        return;

    // Line breaks of the text are kept as breaks of the layout.
    QString shown = text();
    shown.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
    shown.replace(QLatin1Char('\r'), QChar::LineSeparator);
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);

    const QFontMetrics metrics(font());
    QTextLayout layout(shown, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);

    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));

    // Every line that has room below it for one more is drawn whole; the last
    // one that fits takes the rest of the text, cut with an ellipsis.
    int y = 0;
    layout.beginLayout();
    int lastStart = -1;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(area.width());
        line.setPosition(QPointF(0, y));
        if (y + 2 * metrics.lineSpacing() > area.height()) {
            lastStart = line.textStart();
            break;
        }
        y += metrics.lineSpacing();
    }
    layout.endLayout();

    const int wholeLines = layout.lineCount() - (lastStart >= 0 ? 1 : 0);
    for (int i = 0; i < wholeLines; ++i)
        layout.lineAt(i).draw(&painter, area.topLeft());
    if (lastStart >= 0) {
        QString rest = shown.mid(lastStart);
        rest.replace(QChar::LineSeparator, QLatin1Char(' '));
        const QString cut = metrics.elidedText(rest, Qt::ElideRight, area.width());
        painter.drawText(QPoint(area.left(), area.top() + y + metrics.ascent()), cut);
    }
}
