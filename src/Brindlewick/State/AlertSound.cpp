#include "AlertSound.h"

#include <canberra.h>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// One context for the process: it connects to the sound server on first use and stays connected.
// A context whose server went away stays broken, so it is replaced when a play fails.
class SoundContext {
public:
    ~SoundContext() { drop(); }

    int play()
    {
        if (!context && ca_context_create(&context) != CA_SUCCESS)
            context = nullptr;
        if (!context)
            return CA_ERROR_NOTAVAILABLE;
        return ca_context_play(context, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_EVENT_DESCRIPTION, "Alert",
                               nullptr);
    }

    void drop()
    {
        if (context)
            ca_context_destroy(context);
        context = nullptr;
    }

private:
    ca_context *context = nullptr;
};

// Talking to the sound server can wait without end (a server that stopped answering), so one thread of
// its own does it. Requests made while it plays are folded into one more sound.
class SoundThread {
public:
    void request()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_requested = true;
        }
        m_wake.notify_one();
    }

    // Never joined: a thread stuck on a hung server must not hold up the end of the process.
    static SoundThread &shared()
    {
        static SoundThread *const thread = [] {
            auto *made = new SoundThread;
            std::thread([made] { made->serve(); }).detach();
            return made;
        }();
        return *thread;
    }

private:
    void serve()
    {
        SoundContext context;
        for (;;) {
            waitForRequest();
            if (context.play() == CA_SUCCESS)
                continue;
            // The sound server may have restarted since the last alert: connect afresh once.
            context.drop();
            context.play();
        }
    }

    void waitForRequest()
    {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_requested; });
        m_requested = false;
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_requested = false;
};

} // namespace

namespace AlertSound {

void play()
{
    SoundThread::shared().request();
}

} // namespace AlertSound
