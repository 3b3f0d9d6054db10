#pragma once

#include "Date.h"

#include <QObject>
#include <functional>
#include <vector>

// Views of many notes that each know until when the clock leaves them as they are. A tick calls only
// those whose moment has come, so an idle tick reads one short list instead of waking a hundred
// views, each of them cold in memory after a second of sleep.
class ClockFollowers final : public QObject {
    Q_OBJECT

public:
    // Brings the view up to `now` and answers until when it holds.
    using Follow = std::function<Date(Date now)>;

    // `follow` runs at the next tick, then on the ticks from the moment it answers, and again on
    // any tick that sets the clock back; it ends with `owner`.
    void add(QObject *owner, Follow follow);
    // The owner's view changed by other means: it follows again at the next tick.
    void wake(const QObject *owner);
    // Everything follows again at the next tick (the zone changed).
    void wakeAll();
    void tick(Date now);

private:
    struct Follower {
        const QObject *owner;
        Date from;
        Date until;
        Follow follow;
    };
    std::vector<Follower>::iterator find(const QObject *owner);

    std::vector<Follower> m_followers;
};
