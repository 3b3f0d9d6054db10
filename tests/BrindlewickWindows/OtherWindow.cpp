#include "OtherWindow.h"

#include "Patience.h"
#include "X11Probe.h"

OtherWindow::OtherWindow(const QRect &geometry)
{
    const QString placement = QStringLiteral("%1x%2+%3+%4")
                                  .arg(geometry.width())
                                  .arg(geometry.height())
                                  .arg(geometry.x())
                                  .arg(geometry.y());
    m_process.start(QStringLiteral("xmessage"), {QStringLiteral("-geometry"), placement, QStringLiteral("Other")});
    QProcess search;
    search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--sync"),
                                             QStringLiteral("--onlyvisible"), QStringLiteral("--class"),
                                             QStringLiteral("Xmessage")});
    if (search.waitForFinished(patienceMs))
        m_id = QString::fromUtf8(search.readAllStandardOutput()).split('\n').first().toULongLong();
}

OtherWindow::~OtherWindow()
{
    m_process.kill();
    m_process.waitForFinished();
}

bool OtherWindow::activate() const
{
    return X11Probe::xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(m_id)});
}
