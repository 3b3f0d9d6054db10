#include "ThemePalette.h"

#include "Theme.h"

#include <QWidget>

namespace ThemePalette {

QPalette make(Scheme scheme)
{
    const auto c = [scheme](Color color) { return color.resolved(scheme); };
    QPalette palette;
    palette.setColor(QPalette::Window, c(Theme::desk));
    palette.setColor(QPalette::WindowText, c(Theme::ink));
    palette.setColor(QPalette::Base, c(Theme::card));
    palette.setColor(QPalette::AlternateBase, c(Theme::well));
    palette.setColor(QPalette::Text, c(Theme::ink));
    palette.setColor(QPalette::Button, c(Theme::well));
    palette.setColor(QPalette::ButtonText, c(Theme::ink));
    palette.setColor(QPalette::BrightText, c(Theme::accentInk));
    palette.setColor(QPalette::Highlight, c(Theme::accent));
    palette.setColor(QPalette::HighlightedText, c(Theme::accentInk));
    palette.setColor(QPalette::PlaceholderText, c(Theme::ink3));
    palette.setColor(QPalette::ToolTipBase, c(Theme::card));
    palette.setColor(QPalette::ToolTipText, c(Theme::ink));
    palette.setColor(QPalette::Link, c(Theme::accent));
    palette.setColor(QPalette::LinkVisited, c(Theme::accent));
    palette.setColor(QPalette::Light, c(Theme::card));
    palette.setColor(QPalette::Midlight, c(Theme::well));
    palette.setColor(QPalette::Mid, c(Theme::hairline));
    palette.setColor(QPalette::Dark, c(Theme::ink3));
    palette.setColor(QPalette::Shadow, c(Theme::ink2));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, c(Theme::ink3));
    return palette;
}

bool follow(QWidget *widget)
{
    const QPalette wanted = make(Appearance::scheme(widget));
    if (widget->palette() == wanted)
        return false;
    widget->setPalette(wanted);
    return true;
}

} // namespace ThemePalette
