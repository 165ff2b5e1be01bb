#include "DropDownControl.h"

#include <QMouseEvent>
#include <QPainter>

#include "controls/ReadableColour.h"
#include "platform/gui/ErrorReport.h"

TDropDownX::TDropDownX(QWidget* AOwner) : QWidget(AOwner)
{
    FCollapsedCaption = QStringLiteral("Collapsed");
    FUncollapsedCaption = QStringLiteral("Uncollapsed");
    setAttribute(Qt::WA_OpaquePaintEvent); // the background covers the whole bar
}

TDropDownX::~TDropDownX() = default;

void TDropDownX::SetCollapsed(bool Value)
{
    if (Value && !FCollapsed) {
        if (FControl)
            FControl->setVisible(false);
        FCollapsed = true;
        if (OnCollapsed)
            OnCollapsed(this);
    } else if (!Value && FCollapsed) {
        if (FControl)
            FControl->setVisible(true);
        FCollapsed = false;
        if (OnUncollapsed)
            OnUncollapsed(this);
    }
    update();
}

void TDropDownX::SetCollapsedCaption(const QString& Value)
{
    FCollapsedCaption = Value;
    update();
}

void TDropDownX::SetUncollapsedCaption(const QString& Value)
{
    FUncollapsedCaption = Value;
    update();
}

void TDropDownX::SetCaptionRotation(TDropDownTextRotate Value)
{
    FCaptionRotation = Value;
    update();
}

void TDropDownX::SetCaptionAlignment(TAlignment Value)
{
    FCaptionAlignment = Value;
    update();
}

void TDropDownX::SetColor(const QColor& Value)
{
    FColor = Value;
    update();
}

void TDropDownX::SetImageList(const QList<QPixmap>& Value)
{
    FImageList = Value;
    update();
}

void TDropDownX::SetBackgroundImageIndex(int Value)
{
    FBackgroundImageIndex = Value;
    update();
}

void TDropDownX::Click()
{
    SetCollapsed(!FCollapsed);
}

void TDropDownX::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FPressed = true;
}

void TDropDownX::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool click = FPressed && rect().contains(event->position().toPoint());
    FPressed = false;
    if (click)
        reportingErrors([this] { Click(); }); // an owner's failure must not unwind through Qt
}

// The second press of a double click starts no click of its own: a double click
// toggles the bar once.
void TDropDownX::mouseDoubleClickEvent(QMouseEvent*) {}

void TDropDownX::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    DrawBackground(painter);
    DrawCaption(painter, GetCaption(), FCaptionRotation);
}

void TDropDownX::DrawBackground(QPainter& painter)
{
    painter.fillRect(rect(), Color());
    if (FBackgroundImageIndex >= 0 && FBackgroundImageIndex < FImageList.size())
        painter.drawPixmap(rect(), FImageList[FBackgroundImageIndex]);
}

void TDropDownX::DrawCaption(QPainter& painter, const QString& Text, TDropDownTextRotate Rotation)
{
    painter.setFont(font());
    // The desktop's text colour, or one that reads on a colour the owner chose.
    painter.setPen(readableOn(palette().color(QPalette::WindowText), Color()));
    const QFontMetrics metrics = painter.fontMetrics();
    const int cx = metrics.horizontalAdvance(Text);
    const int cy = metrics.height();
    const int w = width();
    const int h = height();
    switch (Rotation) {
    case TDropDownTextRotate::Zero: {
        const int x = FCaptionAlignment == taLeftJustify    ? 0
                      : FCaptionAlignment == taRightJustify ? w - cx
                                                            : (w - cx) / 2;
        TextOutRotated(painter, x, (h - cy) / 2, 0, Text);
        break;
    }
    case TDropDownTextRotate::Ninety:
        TextOutRotated(painter, (w - cy) / 2, (h + cx) / 2, 900, Text);
        break;
    case TDropDownTextRotate::OneEighty:
        TextOutRotated(painter, (w + cx) / 2, (h + cy) / 2, 1800, Text);
        break;
    case TDropDownTextRotate::TwoSeventy:
        TextOutRotated(painter, (w + cy) / 2, (h - cx) / 2, 2700, Text);
        break;
    }
}

void TextOutRotated(QPainter& Canvas, int X, int Y, int Angle, const QString& Text)
{
    Canvas.save();
    Canvas.translate(X, Y);
    Canvas.rotate(-Angle / 10.0); // Qt turns clockwise on the screen
    Canvas.drawText(0, Canvas.fontMetrics().ascent(), Text);
    Canvas.restore();
}
