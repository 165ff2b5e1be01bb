#pragma once

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <cstdint>

#include "controls/NotifyEvent.h"

class QPainter;

// Where the linked control sits; stored only, nothing depends on it.
enum class TDropDownDock : std::uint8_t { BottomLeft, TopRight };

// The caption's turn, counter-clockwise.
enum class TDropDownTextRotate : std::uint8_t { Zero, Ninety, OneEighty, TwoSeventy };

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };

// A thin clickable bar that hides and shows another control of its window. Each
// click toggles Collapsed; the bar shows one caption for each state, horizontal or
// turned, over its Color or a picture stretched over the whole bar.
class TDropDownX : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString CollapsedCaption READ CollapsedCaption WRITE SetCollapsedCaption)
    Q_PROPERTY(QString UncollapsedCaption READ UncollapsedCaption WRITE SetUncollapsedCaption)
    Q_CLASSINFO("TranslatedProperties", "CollapsedCaption,UncollapsedCaption")

public:
    explicit TDropDownX(QWidget* AOwner = nullptr);
    ~TDropDownX() override;

    // Collapsing hides the linked control, expanding shows it; either fires its
    // notification. Assigning the current state only repaints.
    bool Collapsed() const { return FCollapsed; }
    void SetCollapsed(bool Value);

    // The linked control, not owned; the current state is not applied to it.
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* Value) { FControl = Value; }

    QString CollapsedCaption() const { return FCollapsedCaption; }
    void SetCollapsedCaption(const QString& Value);
    QString UncollapsedCaption() const { return FUncollapsedCaption; }
    void SetUncollapsedCaption(const QString& Value);
    // The caption of the current state.
    QString GetCaption() const { return FCollapsed ? FCollapsedCaption : FUncollapsedCaption; }

    TDropDownDock ControlDock() const { return FControlDock; }
    void SetControlDock(TDropDownDock Value) { FControlDock = Value; }
    TDropDownTextRotate CaptionRotation() const { return FCaptionRotation; }
    void SetCaptionRotation(TDropDownTextRotate Value);
    // Places an unturned caption; a turned one is always centred.
    TAlignment CaptionAlignment() const { return FCaptionAlignment; }
    void SetCaptionAlignment(TAlignment Value);

    // The background colour, used when there is no picture: the desktop's button
    // colour, whatever it is at the time, until one is set.
    QColor Color() const { return FColor.isValid() ? FColor : palette().color(QPalette::Button); }
    void SetColor(const QColor& Value);

    // The background pictures; an empty list means none. The bar keeps its own
    // (shared) copies, so the caller's list may go away first.
    const QList<QPixmap>& ImageList() const { return FImageList; }
    void SetImageList(const QList<QPixmap>& Value);
    int BackgroundImageIndex() const { return FBackgroundImageIndex; }
    void SetBackgroundImageIndex(int Value);

    TNotifyEvent OnCollapsed;
    TNotifyEvent OnUncollapsed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Click();
    void DrawBackground(QPainter& painter);
    void DrawCaption(QPainter& painter, const QString& Text, TDropDownTextRotate Rotation);

    QPointer<QWidget> FControl; // becomes null when the control is destroyed
    bool FCollapsed = false;
    QString FCollapsedCaption;
    QString FUncollapsedCaption;
    TDropDownDock FControlDock = TDropDownDock::BottomLeft;
    TDropDownTextRotate FCaptionRotation = TDropDownTextRotate::Zero;
    TAlignment FCaptionAlignment = taCenter;
    int FBackgroundImageIndex = 0;
    QList<QPixmap> FImageList;
    QColor FColor; // none set: the desktop's
    bool FPressed = false; // a left press on the bar waits for its release
};

// Draws Text with the top-left corner of its cell at (X, Y), turned counter-clockwise
// by Angle tenths of a degree, in the painter's current font and pen.
void TextOutRotated(QPainter& Canvas, int X, int Y, int Angle, const QString& Text);
