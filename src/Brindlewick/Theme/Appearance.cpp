#include "Appearance.h"

#include "DesktopAppearance.h"

#include <QGuiApplication>
#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char forcedProperty[] = "brindlewickScheme";

void repaintWithDescendants(QWidget *widget)
{
    widget->update();
    for (QWidget *child : widget->findChildren<QWidget *>())
        child->update();
}

} // namespace

namespace Appearance {

void force(QWidget *widget, std::optional<Scheme> scheme)
{
    if (!widget)
        return;
    widget->setProperty(forcedProperty, scheme ? QVariant(static_cast<int>(*scheme)) : QVariant());
    repaintWithDescendants(widget);
}

std::optional<Scheme> forced(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant value = w->property(forcedProperty);
        if (value.isValid())
            return static_cast<Scheme>(value.toInt());
    }
    return std::nullopt;
}

Scheme scheme(const QWidget *widget)
{
    return forced(widget).value_or(desktopScheme());
}

bool isDark(const QWidget *widget)
{
    return scheme(widget) == Scheme::dark;
}

Scheme desktopScheme()
{
    if (const auto preferred = DesktopAppearance::instance().scheme())
        return *preferred;
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128 ? Scheme::dark : Scheme::light;
}

bool reduceMotion()
{
    return DesktopAppearance::instance().reduceMotion();
}

} // namespace Appearance
