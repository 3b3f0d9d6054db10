#pragma once

#include <QString>

class QWidget;
class SettingsStore;

// Where the app's own windows open: centred at first, then where the user left them in an earlier
// run. The frame is kept in the settings, under a key of the window's own.
namespace WindowFrame {

// Centres the window's frame on the screen that holds the pointer (the primary one when none does).
void centreOnPointerScreen(QWidget &window);
// Puts the window where it was when `remember` last saw it; nothing when it was never seen.
void restore(QWidget &window, const SettingsStore &settings, const QString &key);
void remember(const QWidget &window, SettingsStore settings, const QString &key);

} // namespace WindowFrame
