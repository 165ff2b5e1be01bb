#pragma once

#include <QLabel>

// A label that wraps its text at word boundaries and, when the text doesn't fit,
// cuts the last visible line with an ellipsis. text() keeps the whole text.
class ElidedTextLabel : public QLabel {
public:
    explicit ElidedTextLabel(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
