#pragma once

#include "Patience.h"

#include <QProcess>
#include <QStringList>

// Starts tests/helpers/ShellTestHelper with `arguments` (see there).
inline void startShellTestHelper(QProcess &process, const QStringList &arguments)
{
    process.setProgram(QStringLiteral(BRINDLEWICK_BINARY_DIR "/tests/ShellTestHelper"));
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start();
}

// Waits until the process prints `line`; false when it ends or stays silent for the timeout.
inline bool waitForLine(QProcess &process, const QByteArray &line, int timeoutMs = patienceMs)
{
    while (true) {
        while (process.canReadLine()) {
            if (process.readLine().trimmed() == line)
                return true;
        }
        if (!process.waitForReadyRead(timeoutMs))
            return false;
    }
}
