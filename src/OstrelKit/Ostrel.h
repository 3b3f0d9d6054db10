#pragma once

#include "KitDefaults.h"

#include <QColor>
#include <QList>

class Updater;

// The kit's front door: the brand colours its windows use and the one updater.
namespace Ostrel {

struct Brand {
    QColor primary;
    QColor secondary;

    bool operator==(const Brand &) const = default;
};

// The kit's own colours, kept when the program gives none.
Brand defaultBrand();
// Two or more colours: the first two; one colour: used twice; none: the kit's own.
Brand brandFrom(const QList<QColor> &colors);

// Acts on its first call only: keeps the brand colours and starts the updater, whose settings live in
// `defaults`. Call it first thing at launch.
void start(const QList<QColor> &brand, KitDefaults defaults = KitDefaults::inMemory());
Brand brand();
// The process's one updater; made by `start`, or on first use before it.
Updater &updater();
// Brings up the update window and checks on the user's behalf.
void checkForUpdates();
// For the program's quit handler, once its own data is saved: starts the install of a staged update.
void applicationWillTerminate();

} // namespace Ostrel
