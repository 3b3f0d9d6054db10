#pragma once

#include <QProcessEnvironment>
#include <QString>

// How the process was asked to run. Developers pick a harness or the demo world through environment
// variables; a person starting the program gets the normal run.
struct Launch {
    enum class Mode {
        normal,
        // BRINDLEWICK_SNAPSHOT_DIR: render the screenshot set into the folder; no normal start.
        snapshots,
        // BRINDLEWICK_SELFTEST: run the scripted self-test in the folder; no normal start.
        selfTest,
        // BRINDLEWICK_DEMO_DIR: fill the folder with the demo world, then start normally on it.
        demo,
    };

    Mode mode = Mode::normal;
    // The variable's value, unchanged: no check that it names a usable folder.
    QString folder;
    // Started with the desktop session by the autostart entry ("--autostart"): the notes show, and no
    // other window opens.
    bool atLogin = false;

    // The first variable present wins, in the order of `Mode`; an empty value counts as present.
    static Launch from(const QProcessEnvironment &environment, bool atLogin = false);

    bool isHarness() const { return mode == Mode::snapshots || mode == Mode::selfTest; }

    bool operator==(const Launch &) const = default;
};
