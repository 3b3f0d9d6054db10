#pragma once

#include "NoteCoding.h"
#include "Patience.h"

#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

// Runs the real brindlewick binary on a fresh data folder, configuration folder and state folder, all kept
// for the whole test so a second launch finds what the first one left.
class EndToEndTest : public testing::Test {
protected:
    void TearDown() override;

    QString path(const QString &name) const;
    void writeFile(const QString &name, const QByteArray &bytes) const;

    // Starts dunst as the session's notification server, with the given configuration, and waits
    // until it serves; TearDown stops it.
    void startNotificationServer(const QString &config = QStringLiteral("/dev/null"));

    // Starts the built binary, or `command` (a program and its arguments), with the test's folders;
    // `adjust` changes the environment it is started with.
    void launch(QProcess &process, const QStringList &command = {},
                const std::function<void(QProcessEnvironment &)> &adjust = {}) const;
    // Ends the program as logout or kill does (SIGTERM), and checks that it ended cleanly.
    static testing::AssertionResult quit(QProcess &process);

    std::optional<NoteBook> notebook() const;
    // The only note, once the notes file holds exactly one that passes `check`.
    std::optional<StickyNote> savedNote(const std::function<bool(const StickyNote &)> &check) const;
    QJsonObject settings() const;

    // Every visible window of the program.
    static QStringList programWindows();
    // The program's visible window at the size of a new note: neither "All Notes" nor the Quick Note
    // panel is that small.
    static QString noteWindow();
    // Whether the window floats above others (a note's Ctrl+Shift+F).
    static bool floats(const QString &window);
    // Where a stored frame (y up from the bottom of the screen) lies on the X screen.
    static QRect onScreen(const NoteFrame &frame);

    QTemporaryDir dir;
    QProcess brindlewick;
    QProcess second;
    QProcess notificationServer;
};
