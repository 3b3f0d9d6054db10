#pragma once

#include <QByteArray>
#include <QLocale>

// The locale whose clock and week the user chose for times. The C library takes it from LC_ALL, then
// LC_TIME, then LANG; a desktop set to English with a 24-hour clock often sets only LC_TIME.
namespace TimeLocale {

// The locale named by the first non-empty setting; "C", "POSIX" or none is the C locale.
QLocale fromSettings(const QByteArray &lcAll, const QByteArray &lcTime, const QByteArray &lang);
// The same, from this process's environment.
QLocale current();

// Whether the locale writes times with AM/PM rather than on a 24-hour clock.
bool usesTwelveHourClock(const QLocale &locale);

} // namespace TimeLocale
