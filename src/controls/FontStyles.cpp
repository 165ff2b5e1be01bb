#include "FontStyles.h"

void applyFontStyles(QFont& font, TFontStyles styles)
{
    font.setBold(styles.testFlag(fsBold));
    font.setItalic(styles.testFlag(fsItalic));
    font.setUnderline(styles.testFlag(fsUnderline));
    font.setStrikeOut(styles.testFlag(fsStrikeOut));
}

QFont arialFont(int pixelSize, TFontStyles styles)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    applyFontStyles(font, styles);
    return font;
}
