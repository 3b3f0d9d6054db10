#pragma once

#include <QString>

// The scripted self-test: checks of the model and the desktop note windows against a frozen demo
// world in the folder's "world" subfolder. Writes "selftest.txt" into the folder, one "PASS <check>"
// or "FAIL <check>" line per check, then "ALL PASS" or "<n> FAILED", and prints the check lines.
namespace SelfTest {

// Runs the whole self-test and removes the world; the process's exit status: 0 when every check
// passed and the report was written, else 1.
int execute(const QString &dir);

// Runs the self-test once the event loop runs, then quits the application with its status.
void run(const QString &dir);

} // namespace SelfTest
