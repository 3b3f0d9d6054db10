#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the program is asked on its command line, read before anything else. Qt's own options
// (-platform, -display, -style…) are Qt's: they are passed over here and read by the application object.
struct CommandLine {
    enum class Ask {
        run,
        // --help: print the options and exit.
        help,
        // --version: print the version and exit.
        version,
        // An option that is not ours, one used wrongly or a word the program does not read: say so and exit.
        wrong,
    };

    Ask ask = Ask::run;
    // --autostart: started with the desktop session.
    bool atLogin = false;
    // Why the command line is wrong, in one line.
    QString error;
    // Qt's -platform was given: the window system is the user's choice.
    bool platformChosen = false;
    // Qt's -display: the X display to open instead of the one DISPLAY names.
    std::optional<QString> display;

    // From the arguments, the program's own name first. --help and --version win over anything else.
    static CommandLine read(const QStringList &arguments);
    // The options, for --help; the usage line names the program as started once the application
    // object exists.
    static QString help();
    // "Brindlewick 0.1.0", as the About box says.
    static QString version();

    bool operator==(const CommandLine &) const = default;
};
