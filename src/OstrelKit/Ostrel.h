#pragma once

#include "KitDefaults.h"
#include "Updater.h"

#include <QColor>
#include <QList>
#include <functional>

// The kit's front door: the brand colours its windows use and the one updater.
namespace Ostrel {

// Always two colours or more, in the program's order.
struct Brand {
    QList<QColor> colors;

    QColor primary() const { return colors.first(); }
    QColor secondary() const { return colors.at(1); }

    bool operator==(const Brand &) const = default;
};

// The kit's own colours, kept when the program gives none.
Brand defaultBrand();
// Two or more colours: kept as they are; one colour: used twice; none: the kit's own.
Brand brandFrom(const QList<QColor> &colors);

// Acts on its first call only: keeps the brand colours and starts the updater, whose settings live in
// `defaults`. `quit` is how the program quits (its own Quit command), which "Install and Relaunch"
// goes through; without one the event loop simply ends. Call it first thing at launch.
void start(const QList<QColor> &brand, KitDefaults defaults = KitDefaults::inMemory(),
           std::function<void()> quit = {});
// The same with an updater set up otherwise than for this process, as tests do.
void start(const QList<QColor> &brand, UpdaterSetup setup, std::function<void()> quit = {});
Brand brand();
// The process's one updater; made by `start`, or on first use before it.
Updater &updater();
// Brings up the update window and checks on the user's behalf.
void checkForUpdates();
// For the program's quit handler, once its own data is saved: starts the install of a staged update.
void applicationWillTerminate();

} // namespace Ostrel
