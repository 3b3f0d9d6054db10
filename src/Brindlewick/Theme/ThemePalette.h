#pragma once

#include "Appearance.h"

#include <QPalette>

class QWidget;

// The interface tokens as a palette, so stock controls (tabs, check boxes, pop-up menus) sit on the
// paper look in either appearance.
namespace ThemePalette {

QPalette make(Scheme scheme);
// Gives the widget the palette of the scheme it paints in, unless it has it already; answers whether
// it changed. Windows call it when they paint, which is when forced and desktop schemes take effect.
bool follow(QWidget *widget);

} // namespace ThemePalette
