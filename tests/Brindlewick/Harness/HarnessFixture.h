#pragma once

#include "QtPrinters.h"
#include "ScopedEnv.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A temporary folder for the harness's output and worlds, and a temporary configuration folder, so
// the demo settings never reach the user's.
class HarnessTest : public testing::Test {
protected:
    HarnessTest() : m_configHome("XDG_CONFIG_HOME", dir.filePath("config").toUtf8()) {}

    QString path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;

private:
    ScopedEnv m_configHome;
};
