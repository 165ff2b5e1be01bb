#include "ReadableColour.h"

#include <algorithm>
#include <cmath>

namespace {

double luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

} // namespace

double contrastRatio(const QColor& A, const QColor& B)
{
    const double a = luminance(A), b = luminance(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor readableOn(const QColor& Colour, const QColor& Background, double MinimumContrast)
{
    if (contrastRatio(Colour, Background) >= MinimumContrast)
        return Colour;
    // Towards white or black, whichever stands out more from the background: first
    // to the mirrored lightness (dark red becomes light red), then on as far as needed.
    const bool lighter = contrastRatio(Qt::white, Background) > contrastRatio(Qt::black, Background);
    const QColor hsl = Colour.toHsl();
    const float mirrored =
        lighter ? std::max(hsl.lightnessF(), 1 - hsl.lightnessF()) : std::min(hsl.lightnessF(), 1 - hsl.lightnessF());
    QColor moved = Colour;
    for (int step = 0; step <= 50; ++step) {
        const float lightness = std::clamp(mirrored + (lighter ? 0.02f : -0.02f) * step, 0.0f, 1.0f);
        moved = QColor::fromHslF(std::max(0.0f, hsl.hslHueF()), hsl.hslSaturationF(), lightness, Colour.alphaF());
        if (contrastRatio(moved, Background) >= MinimumContrast)
            break;
    }
    return moved.toRgb();
}
