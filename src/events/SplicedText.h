#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// A text from which elements are taken out the way ExtractTagValue does it,
// held as pieces of the original text instead of shortened copies of it.
class SplicedText {
public:
    SplicedText() = default;
    explicit SplicedText(QStringView Text);

    // ExtractTagValue on this text: yields the inner text of the first element
    // of Tag and leaves this text without it. A missing element yields an empty
    // text and leaves this one as it was.
    SplicedText takeElement(const QString& Tag);

    bool isEmpty() const { return FSize == 0; }
    QString toString() const;
    // The text as one view; Storage holds a joined copy when it is in pieces.
    QStringView view(QString& Storage) const;

private:
    qsizetype find(QStringView Tag) const;
    bool matchesAt(qsizetype At, QStringView Tag) const;
    QChar at(qsizetype Index) const;
    SplicedText part(qsizetype From, qsizetype To) const;
    void append(QStringView Piece);

    std::vector<QStringView> FPieces;
    qsizetype FSize = 0;
};
