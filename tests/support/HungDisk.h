#pragma once

#include "Patience.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// A disk that stops answering: writes wait in `write` until the test lets it answer. It answers by
// itself once the test's patience is spent, so a write waited for on the wrong thread fails the test
// instead of hanging it.
class HungDisk {
public:
    void write()
    {
        ++m_writes;
        std::unique_lock lock(m_mutex);
        m_answered.wait_for(lock, std::chrono::milliseconds(patienceMs), [this] { return m_answering; });
    }
    void answer()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_answering = true;
        }
        m_answered.notify_all();
    }
    int writes() const { return m_writes; }

private:
    std::mutex m_mutex;
    std::condition_variable m_answered;
    bool m_answering = false;
    std::atomic<int> m_writes = 0;
};
