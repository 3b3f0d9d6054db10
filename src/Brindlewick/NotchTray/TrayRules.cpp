#include "TrayRules.h"

TrayMode TrayRules::track(const TrayMode &mode, const TrayGeometry &geometry, const TraySight &sight)
{
    switch (mode.kind) {
    case TrayMode::Kind::resting: return rest(geometry, sight);
    case TrayMode::Kind::open: return stayOpen(geometry, sight);
    case TrayMode::Kind::banner: return announce(mode, geometry, sight);
    }
    return mode;
}

// Entering the hot zone starts the wait afresh each time; clicking-only never opens by itself.
TrayMode TrayRules::rest(const TrayGeometry &geometry, const TraySight &sight)
{
    m_heldOpen = false;
    if (!geometry.hotZone(sight.hasTucked).contains(sight.pointer) || sight.opensOn != TrayOpen::hover) {
        m_hoverSince.reset();
        return TrayMode::resting();
    }
    if (!m_hoverSince)
        m_hoverSince = sight.now;
    if (sight.now - *m_hoverSince <= hoverDelay)
        return TrayMode::resting();
    m_outsideSince.reset();
    m_hoverSince.reset();
    return TrayMode::open();
}

TrayMode TrayRules::stayOpen(const TrayGeometry &geometry, const TraySight &sight)
{
    const QRectF open = geometry.rect(geometry.openSize());
    const QRectF kept = open.adjusted(-leaveMargin, -leaveMargin, leaveMargin, leaveMargin);
    // A tray opened by a toggle minds the pointer leaving only once the pointer has been on it.
    if (open.contains(sight.pointer))
        m_heldOpen = false;
    if (kept.contains(sight.pointer) || sight.peeking || m_heldOpen) {
        m_outsideSince.reset();
        return TrayMode::open();
    }
    if (!m_outsideSince)
        m_outsideSince = sight.now;
    if (sight.now - *m_outsideSince <= leaveDelay)
        return TrayMode::open();
    m_outsideSince.reset();
    return TrayMode::resting();
}

// A banner under the pointer stays; off it, it goes once its time is up or its note stopped ringing.
TrayMode TrayRules::announce(const TrayMode &mode, const TrayGeometry &geometry, const TraySight &sight) const
{
    if (geometry.rect(geometry.bannerSize()).contains(sight.pointer))
        return mode;
    const bool timeUp = m_bannerUntil && sight.now > *m_bannerUntil;
    const bool answered = !sight.ringing || !sight.ringing->contains(mode.note);
    return timeUp || answered ? TrayMode::resting() : mode;
}

TrayMode TrayRules::ring(const TrayMode &mode, const QUuid &id, bool enabled, double now)
{
    if (!enabled || mode.isOpen())
        return mode;
    m_bannerUntil = now + bannerSeconds;
    return TrayMode::banner(id);
}

TrayMode TrayRules::toggle(const TrayMode &mode)
{
    if (mode.isOpen())
        return TrayMode::resting();
    m_heldOpen = true;
    return TrayMode::open();
}

std::optional<QRectF> TrayRules::activeArea(const TrayMode &mode, const TrayGeometry &geometry, bool hasTucked,
                                            TrayOpen opensOn)
{
    switch (mode.kind) {
    case TrayMode::Kind::resting:
        if (opensOn == TrayOpen::click)
            return geometry.hotZone(hasTucked);
        return std::nullopt;
    case TrayMode::Kind::open: return geometry.rect(geometry.openSize());
    case TrayMode::Kind::banner: return geometry.rect(geometry.bannerSize());
    }
    return std::nullopt;
}
