#include "WindowFrame.h"

#include "State/SettingsStore.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowFrame {

void centreOnPointerScreen(QWidget &window)
{
    const QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void restore(QWidget &window, const SettingsStore &settings, const QString &key)
{
    if (const std::optional<QString> frame = settings.stringValue(key))
        window.restoreGeometry(QByteArray::fromBase64(frame->toLatin1()));
}

void remember(const QWidget &window, SettingsStore settings, const QString &key)
{
    settings.setString(key, QString::fromLatin1(window.saveGeometry().toBase64()));
}

} // namespace WindowFrame
