#pragma once

#include "TrayState.h"

#include "State/TrayOpen.h"

#include <QPointF>
#include <QSet>
#include <QUuid>
#include <optional>

// What one poll of the pointer sees, y up, with the time in seconds on a steady clock.
struct TraySight {
    QPointF pointer;
    bool hasTucked = false;
    TrayOpen opensOn = TrayOpen::hover;
    const QSet<QUuid> *ringing = nullptr;
    // A tucked note is shown under the open tray.
    bool peeking = false;
    double now = 0;
};

// When the tray opens, closes and drops or retires a banner: the rules of the pointer poll, the
// ring and the toggle, kept apart from any window so they run against any clock and pointer. Each
// takes the current mode and answers the next; only the times it waits on are kept here.
class TrayRules {
public:
    // The pointer rests this long on the resting tray before it opens.
    static constexpr double hoverDelay = 0.18;
    // The pointer stays away this long before an open tray closes.
    static constexpr double leaveDelay = 0.45;
    // How long a banner stays at least, unless its note stops ringing.
    static constexpr double bannerSeconds = 10;
    // The open tray keeps the pointer this far outside its edge.
    static constexpr double leaveMargin = 8;

    // One tick of the poll.
    TrayMode track(const TrayMode &mode, const TrayGeometry &geometry, const TraySight &sight);
    // A tucked note rings: a banner for it, unless the tray is off or open.
    TrayMode ring(const TrayMode &mode, const QUuid &id, bool enabled, double now);
    // Opens the tray, or returns an open tray to rest. Opened so, it stays open until toggled again,
    // closed, or the pointer has been on it and left.
    TrayMode toggle(const TrayMode &mode);
    // The tray is open from a toggle and the pointer has not been on it since.
    bool isHeldOpen(const TrayMode &mode) const { return mode.isOpen() && m_heldOpen; }

    // Where the panel takes the pointer and clicks, y up; everywhere else they reach the windows
    // beneath. A resting tray takes them only when it opens by click.
    static std::optional<QRectF> activeArea(const TrayMode &mode, const TrayGeometry &geometry, bool hasTucked,
                                            TrayOpen opensOn);

private:
    TrayMode rest(const TrayGeometry &geometry, const TraySight &sight);
    TrayMode stayOpen(const TrayGeometry &geometry, const TraySight &sight);
    TrayMode announce(const TrayMode &mode, const TrayGeometry &geometry, const TraySight &sight) const;

    std::optional<double> m_hoverSince;
    std::optional<double> m_outsideSince;
    std::optional<double> m_bannerUntil;
    bool m_heldOpen = false;
};
