#include "ClockFollowers.h"

#include <algorithm>

void ClockFollowers::add(QObject *owner, Follow follow)
{
    m_followers.push_back({owner, Date{}, Date{}, std::move(follow)});
    connect(owner, &QObject::destroyed, this, [this, owner] {
        const auto found = find(owner);
        if (found != m_followers.end())
            m_followers.erase(found);
    });
}

void ClockFollowers::wake(const QObject *owner)
{
    const auto found = find(owner);
    if (found != m_followers.end())
        found->until = found->from;
}

void ClockFollowers::wakeAll()
{
    for (Follower &follower : m_followers)
        follower.until = follower.from;
}

void ClockFollowers::tick(Date now)
{
    for (std::size_t i = 0; i < m_followers.size(); ++i) {
        if (now >= m_followers[i].from && now < m_followers[i].until)
            continue;
        const QObject *owner = m_followers[i].owner;
        // Kept aside: following may add or remove followers.
        const Follow follow = m_followers[i].follow;
        const Date until = follow(now);
        const auto found = find(owner);
        if (found != m_followers.end()) {
            found->from = now;
            found->until = until;
        }
    }
}

std::vector<ClockFollowers::Follower>::iterator ClockFollowers::find(const QObject *owner)
{
    return std::find_if(m_followers.begin(), m_followers.end(),
                        [owner](const Follower &follower) { return follower.owner == owner; });
}
