#include "FontStyles.h"

#include <QStringList>

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

QFont consoleFont(int pixelSize)
{
    QFont font(QStringLiteral("Lucida Console"));
    font.setStyleHint(QFont::Monospace);
    font.setFamilies({QStringLiteral("Lucida Console"), QStringLiteral("DejaVu Sans Mono"),
                      QStringLiteral("Liberation Mono"), QStringLiteral("monospace")});
    font.setPixelSize(pixelSize);
    return font;
}
