#pragma once

#include "Color.h"

#include <QList>
#include <QPalette>
#include <utility>

class QWidget;

// Stock widgets (line edits, text editors, check boxes) paint from their palette. This keeps some
// palette roles of a widget on theme colours: they are resolved again before every paint, so the
// widget follows a change of appearance like the widgets that paint themselves.
namespace ThemePalette {

using Roles = QList<std::pair<QPalette::ColorRole, Color>>;

// Following again replaces the roles given before.
void follow(QWidget *widget, const Roles &roles);
// Every role a window's stock controls paint with (tabs, check boxes, pop-up menus), on the
// interface tokens, for windows that are all paper.
Roles window();

} // namespace ThemePalette
