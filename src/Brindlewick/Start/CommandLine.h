#pragma once

#include <QString>
#include <QStringList>

// What the program is asked on its command line. Qt's own options (-platform, -display, -session…)
// are taken out by the application object; the rest must be ours.
struct CommandLine {
    enum class Ask {
        run,
        // --help: print the options and exit.
        help,
        // --version: print the version and exit.
        version,
        // An option that is not ours, or one used wrongly: say so and exit.
        wrong,
    };

    Ask ask = Ask::run;
    // --autostart: started with the desktop session.
    bool atLogin = false;
    // Why the command line is wrong, in one line.
    QString error;

    // From the arguments, the program's own name first. --help and --version win over anything else.
    static CommandLine read(const QStringList &arguments);
    // The options, for --help; the usage line names the program as started once the application
    // object exists.
    static QString help();
    // "Brindlewick 0.1.0", as the About box says.
    static QString version();

    bool operator==(const CommandLine &) const = default;
};
