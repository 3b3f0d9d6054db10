#pragma once

#include "Launch.h"

#include <QObject>

class AppModel;

// Decides at launch how the process runs, starts the model, and joins it to the note windows, the
// tray and the global hot key. It also answers the program's other events: a second launch (reopen)
// and quitting.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(AppModel &model, QObject *parent = nullptr);

    // Starts the screenshot renderer or the self-test when asked, and does nothing else then.
    // Otherwise prepares the demo world when asked, starts the model, wires it, and opens
    // "All Notes" when the welcome is pending, no note is on the desktop or a problem was found at start,
    // unless started with the session. The end of the welcome writes the autostart entry.
    void applicationDidFinishLaunching(const Launch &launch);
    // Joins the started model to the note windows and the tray (both kept by `AppActions`) and the
    // global hot key, which follows the "hotkeyEnabled" setting from now on.
    void wire(AppModel &model);
    // Another launch of the program: brings up "All Notes", whatever windows are showing.
    bool applicationShouldHandleReopen();
    // Writes a change still waiting for the debounced save (notes that cannot be saved go to a
    // recovery file) and takes the run's alert notifications off the screen.
    void applicationWillTerminate();
    // The program lives on in the status area and through its hot key when its windows close.
    static bool applicationShouldTerminateAfterLastWindowClosed() { return false; }

private:
    static void followHotkeySetting(bool enabled);

    AppModel &m_model;
};
