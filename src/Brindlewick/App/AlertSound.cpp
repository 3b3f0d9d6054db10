#include "AlertSound.h"

#include <canberra.h>

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

} // namespace

namespace AlertSound {

void play()
{
    static SoundContext shared;
    if (shared.play() == CA_SUCCESS)
        return;
    // The sound server may have restarted since the last alert: connect afresh once.
    shared.drop();
    shared.play();
}

} // namespace AlertSound
