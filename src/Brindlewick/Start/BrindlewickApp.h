#pragma once

#include "Shell/AppCommands.h"
#include "AppDelegate.h"
#include "Shell/MenuBarItem.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <optional>

class AppModel;
struct CommandLine;

// The running program: its menus, its status item and its delegate, around the one model. There is
// no main window; "All Notes", the settings and every note are windows made by code when needed.
class BrindlewickApp {
public:
    explicit BrindlewickApp(AppModel &model);

    AppDelegate &delegate() { return m_delegate; }
    // The program quits: every window, the status icon and the global key go at once, before anything
    // waits on a disk.
    void leaveScreen();

    // The entry point: answers --help and --version and refuses options and words that are not
    // ours, settles the folders the environment names (a data folder that cannot be one ends the
    // start), chooses the window system, makes the application object, hands a second launch over to
    // the running one, and runs until the program quits. Returns the exit code.
    static int run(int argc, char **argv);

    // The Qt platform to ask for: X11 first (note placement, keeping notes on top and the hot-key
    // grab need it; Wayland sessions offer it through XWayland), Wayland only without it. None when
    // the user chose one, with QT_QPA_PLATFORM or "-platform".
    static std::optional<QByteArray> platformFor(const CommandLine &line, const QProcessEnvironment &environment);
    // Why no window could be shown with our platform choice, in one line: no X or Wayland display
    // named (an empty name names none), or no X server answering on DISPLAY without a Wayland one.
    // Nothing when a display is there.
    static std::optional<QString> displayProblem(const QProcessEnvironment &environment);

private:
    // With the application object made: claims the data folder, starts the kit and the model, and
    // runs the event loop. Returns the exit code.
    static int serve(const QProcessEnvironment &environment, const CommandLine &line);

    AppDelegate m_delegate;
    AppCommands m_commands;
    MenuBarItem m_menuBarItem;
};
