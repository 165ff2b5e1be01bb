#include "CaseFolding.h"

QString caseFolded(const QString& Text)
{
    QString folded;
    folded.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        char32_t c = Text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < Text.size() && Text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(Text[i], Text[i + 1]);
            ++i;
        }
        c = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(c)) {
            folded += QChar(QChar::highSurrogate(c));
            folded += QChar(QChar::lowSurrogate(c));
        } else {
            folded += QChar(c);
        }
    }
    return folded;
}
