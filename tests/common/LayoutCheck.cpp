#include "LayoutCheck.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace testing_support {

namespace {

QString nameOf(const QWidget* widget)
{
    if (!widget->objectName().isEmpty())
        return widget->objectName();
    const auto* label = qobject_cast<const QLabel*>(widget);
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    const QString text = label ? label->text() : button ? button->text() : QString();
    const QString kind = QString::fromLatin1(widget->metaObject()->className());
    return text.isEmpty() ? kind : kind + " \"" + text + '"';
}

QString pathOf(const QWidget* widget, const QWidget& window)
{
    QString path = nameOf(widget);
    for (const QWidget* up = widget->parentWidget(); up && up != &window; up = up->parentWidget())
        path = nameOf(up) + '/' + path;
    return path;
}

QString describe(const QSize& size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString describe(const QRect& rect)
{
    return QStringLiteral("(%1,%2 ").arg(rect.x()).arg(rect.y()) + describe(rect.size()) + ')';
}

// What scrolls inside a scroll area may be larger than the part on show.
bool scrolls(const QWidget* parent)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(parent->parentWidget());
    return area && area->viewport() == parent;
}

// The size a widget's own text needs; an empty size where there is nothing to measure.
QSize textNeeds(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text().isEmpty() ? QSize() : label->minimumSizeHint(); // a label that cuts its text says so
    if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget))
        return widget->sizeHint();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget); button && !button->text().isEmpty())
        return widget->fontMetrics().size(Qt::TextShowMnemonic, button->text()) + QSize(4, 2);
    return qobject_cast<const QAbstractSpinBox*>(widget) ? widget->minimumSizeHint() // room for the longest value
                                                         : QSize();
}

// Cells of a view are lost where they leave its viewport along a side it cannot scroll.
void checkCells(const QWidget* widget, const QWidget& window, QStringList& faults)
{
    const auto* view = qobject_cast<const QAbstractItemView*>(widget);
    if (!view || !view->model() || qobject_cast<const QHeaderView*>(view)) // a header scrolls with its view
        return;
    const bool fixedWidth = view->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
    const bool fixedHeight = view->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff;
    if (!fixedWidth && !fixedHeight)
        return;
    const QRect shown = view->viewport()->rect();
    const QAbstractItemModel& model = *view->model();
    int cut = 0;
    QString first;
    for (int row = 0; row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column) {
            const QRect cell = view->visualRect(model.index(row, column));
            const bool cutAcross = fixedWidth && (cell.left() < shown.left() || cell.right() > shown.right());
            const bool cutDown = fixedHeight && (cell.top() < shown.top() || cell.bottom() > shown.bottom());
            if (cell.isValid() && (cutAcross || cutDown) && cut++ == 0)
                first = QStringLiteral("%1,%2 ").arg(row).arg(column) + describe(cell);
        }
    if (cut > 0)
        faults << pathOf(widget, window) + QStringLiteral(" cuts %1 cells off, first ").arg(cut) + first + " in " +
                      describe(shown);
}

bool intendedPair(const QString& a, const QString& b, const std::vector<IntendedOverlap>& intended)
{
    return std::any_of(intended.begin(), intended.end(), [&](const IntendedOverlap& pair) {
        return (pair.first == a && pair.second == b) || (pair.first == b && pair.second == a);
    });
}

void walk(const QWidget& window, const QWidget* parent, const std::vector<IntendedOverlap>& intended,
          QStringList& faults)
{
    std::vector<const QWidget*> shown;
    for (const QObject* object : parent->children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child && !child->isWindow() && child->isVisibleTo(&window))
            shown.push_back(child);
    }
    const QRect inside(QPoint(0, 0), parent->size());
    for (size_t i = 0; i < shown.size(); ++i) {
        const QWidget* child = shown[i];
        if (!scrolls(parent) && !inside.contains(child->geometry()))
            faults << pathOf(child, window) + " reaches outside its parent " + describe(child->geometry()) + " in " +
                          describe(inside);
        const QSize needs = textNeeds(child);
        if (needs.isValid() && (child->width() < needs.width() || child->height() < needs.height()))
            faults << pathOf(child, window) + " is " + describe(child->size()) + " but its text needs " +
                          describe(needs);
        checkCells(child, window, faults);
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const QWidget* other = shown[j];
            if (child->geometry().intersects(other->geometry()) &&
                !intendedPair(nameOf(child), nameOf(other), intended))
                faults << pathOf(child, window) + ' ' + describe(child->geometry()) + " overlaps " + nameOf(other) +
                              ' ' + describe(other->geometry());
        }
        walk(window, child, intended, faults);
    }
}

QPalette darkPalette()
{
    const QColor window(0x35, 0x35, 0x35), base(0x2A, 0x2A, 0x2A), text(0xEE, 0xEE, 0xEE), blue(0x2A, 0x82, 0xDA);
    QPalette palette;
    const auto set = [&](std::initializer_list<QPalette::ColorRole> roles, const QColor& colour) {
        for (QPalette::ColorRole role : roles)
            palette.setColor(role, colour);
    };
    set({QPalette::Window, QPalette::AlternateBase, QPalette::Button}, window);
    set({QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::ToolTipText}, text);
    set({QPalette::Base, QPalette::ToolTipBase}, base);
    set({QPalette::Highlight, QPalette::Link}, blue);
    set({QPalette::HighlightedText, QPalette::Shadow}, Qt::black);
    set({QPalette::PlaceholderText}, QColor(0x90, 0x90, 0x90));
    set({QPalette::BrightText}, Qt::red);
    set({QPalette::Light}, window.lighter(150));
    set({QPalette::Midlight}, window.lighter(125));
    set({QPalette::Mid}, window.darker(130));
    set({QPalette::Dark}, window.darker(200));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x80, 0x80, 0x80));
    return palette;
}

double luminance(const QColor& colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

} // namespace

std::string layoutFaults(const QWidget& window, const std::vector<IntendedOverlap>& intended)
{
    QStringList faults;
    walk(window, &window, intended, faults);
    return faults.join(QLatin1Char('\n')).toStdString();
}

DarkLargeLook::DarkLargeLook(int FontPixels)
    : FStyle(QApplication::style()->name()), FFont(QApplication::font()), FPalette(QApplication::palette())
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont large = QApplication::font();
    large.setPixelSize(FontPixels);
    QApplication::setFont(large);
    QApplication::setPalette(darkPalette());
}

DarkLargeLook::~DarkLargeLook()
{
    QApplication::setStyle(QStyleFactory::create(FStyle));
    QApplication::setFont(FFont);
    QApplication::setPalette(FPalette);
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double strongestContrast(const QImage& picture, const QRect& area, const QColor& background)
{
    double best = 1;
    const QRect inside = area & picture.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            best = std::max(best, contrastRatio(picture.pixelColor(x, y), background));
    return best;
}

QString savePicture(QWidget& widget, const QString& name)
{
    const QString path = QDir::temp().filePath(QStringLiteral("quillet-layout-") + name + QStringLiteral(".png"));
    widget.grab().save(path);
    return path;
}

} // namespace testing_support
