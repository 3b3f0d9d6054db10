#pragma once

#include <optional>

class QWidget;

enum class Scheme { light, dark };

// Which member of a light/dark colour pair a widget paints with. A scheme forced on a widget holds
// for it and everything inside it; elsewhere the desktop's preference decides.
namespace Appearance {

// Forces `scheme` on the widget and its descendants, or lifts a forced scheme with nullopt.
void force(QWidget *widget, std::optional<Scheme> scheme);
// The scheme forced on the widget or its nearest ancestor that has one.
std::optional<Scheme> forced(const QWidget *widget);
// The scheme the widget paints in: forced, else the desktop's (a null widget takes the desktop's).
Scheme scheme(const QWidget *widget);
bool isDark(const QWidget *widget);
// The desktop's scheme: its colour-scheme setting, else the lightness of the application palette.
Scheme desktopScheme();
// True only when the desktop has said that it wants no animations.
bool reduceMotion();

} // namespace Appearance
