#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

// The desktop as a person's tools see it: windows found by title or program, their place on the
// screen, what they show, and the keyboard and pointer driven through xdotool. Windows are xdotool's
// window numbers as text.
namespace Desktop {

QByteArray run(const QString &program, const QStringList &arguments);
// The program's standard output as text, trimmed.
QString output(const QString &program, const QStringList &arguments);
QString xdotool(const QStringList &arguments);

// The first window whose title is exactly `title`, mapped or not; empty when there is none.
QString window(const QString &title);
// The first visible window whose title is exactly `title`; empty when there is none.
QString visibleWindow(const QString &title);
// Every visible window of the program named `className`.
QStringList visibleWindows(const QString &className);

QPoint position(const QString &window);
QSize size(const QString &window);
QSize screenSize();

// The window's content as it is on the screen now.
QImage screenshot(const QString &window);

// Presses the left button at `from`, moves there in a few steps and lets go, as a hand on the mouse would.
void drag(QPoint from, QPoint to);

} // namespace Desktop
