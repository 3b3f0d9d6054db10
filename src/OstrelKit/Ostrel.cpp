#include "Ostrel.h"

#include "UpdateWindow.h"
#include "Updater.h"

#include <QCoreApplication>

namespace Ostrel {

namespace {

struct Kit {
    bool started = false;
    Brand brand = defaultBrand();
    Updater *updater = nullptr;
    UpdateWindow *window = nullptr;
    std::function<void()> quit = [] { QCoreApplication::exit(0); };
};

Kit &kit()
{
    static Kit kit;
    return kit;
}

UpdateWindow &window()
{
    if (!kit().window)
        kit().window = new UpdateWindow(updater());
    return *kit().window;
}

Updater &makeUpdater(UpdaterSetup setup)
{
    kit().updater = new Updater(std::move(setup));
    QObject::connect(kit().updater, &Updater::announce, [] { window().bringForward(); });
    // The program's own Quit: it saves, and note windows are not asked whether they may close.
    QObject::connect(kit().updater, &Updater::relaunchRequested, [] { kit().quit(); });
    return *kit().updater;
}

} // namespace

Brand defaultBrand()
{
    return {{QColor(0x3B, 0x82, 0xC4), QColor(0x25, 0x4E, 0x8C)}};
}

Brand brandFrom(const QList<QColor> &colors)
{
    if (colors.isEmpty())
        return defaultBrand();
    if (colors.size() == 1)
        return {{colors.first(), colors.first()}};
    return {colors};
}

void start(const QList<QColor> &brand, KitDefaults defaults, std::function<void()> quit)
{
    start(brand, UpdaterSetup::live(std::move(defaults)), std::move(quit));
}

void start(const QList<QColor> &brand, UpdaterSetup setup, std::function<void()> quit)
{
    if (kit().started)
        return;
    kit().started = true;
    kit().brand = brandFrom(brand);
    if (quit)
        kit().quit = std::move(quit);
    if (!kit().updater)
        makeUpdater(std::move(setup));
    kit().updater->start();
}

Brand brand()
{
    return kit().brand;
}

Updater &updater()
{
    return kit().updater ? *kit().updater : makeUpdater(UpdaterSetup::live(KitDefaults::inMemory()));
}

void checkForUpdates()
{
    window().bringForward();
    updater().checkNow();
}

void applicationWillTerminate()
{
    if (kit().updater)
        kit().updater->installOnQuit();
}

} // namespace Ostrel
