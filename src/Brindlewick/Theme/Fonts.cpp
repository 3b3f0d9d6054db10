#include "Fonts.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// Qt sizes fonts in typographic points against the device's resolution; layouts here count logical pixels.
qreal typographicPointsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return 72.0 / (screen ? screen->logicalDotsPerInchY() : 96.0);
}

QStringList families(Fonts::Design design, bool monospacedDigits)
{
    if (design == Fonts::Design::monospaced)
        return {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Monospace")};
    // Inter's digits are proportional and Qt offers no way to switch on its tabular figures.
    if (monospacedDigits)
        return {QStringLiteral("DejaVu Sans"), QStringLiteral("Inter"), QStringLiteral("Sans Serif")};
    return {QStringLiteral("Inter"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")};
}

} // namespace

namespace Fonts {

QFont system(qreal points, QFont::Weight weight, Design design, bool monospacedDigits)
{
    QFont font;
    font.setFamilies(families(design, monospacedDigits));
    font.setStyleHint(design == Design::monospaced ? QFont::Monospace : QFont::SansSerif);
    font.setPointSizeF(points * typographicPointsPerPixel());
    font.setWeight(weight);
    return font;
}

QFont unshaped(QFont font)
{
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

qreal points(const QFont &font)
{
    return font.pointSizeF() / typographicPointsPerPixel();
}

const QFont &title()
{
    static const QFont font = system(14, QFont::DemiBold, Design::rounded);
    return font;
}

const QFont &body()
{
    static const QFont font = system(13);
    return font;
}

const QFont &bodyMedium()
{
    static const QFont font = system(13, QFont::Medium);
    return font;
}

const QFont &caption()
{
    static const QFont font = system(11.5);
    return font;
}

const QFont &label()
{
    static const QFont font = system(9.5, QFont::DemiBold, Design::monospaced);
    return font;
}

const QFont &clock()
{
    static const QFont font = system(11, QFont::Bold, Design::rounded, true);
    return font;
}

const QFont &number()
{
    static const QFont font = system(13, QFont::Medium, Design::standard, true);
    return font;
}

} // namespace Fonts
