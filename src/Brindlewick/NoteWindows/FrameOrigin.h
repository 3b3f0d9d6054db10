#pragma once

#include "State/SettingsStore.h"

#include "NoteBook.h"

#include <QPoint>
#include <optional>

// Stored note frames are y up from the bottom left corner of the primary screen, as the notes file
// has them. That corner moves when the primary screen changes its height or place, also between
// runs, and a frame stored under the old corner would open elsewhere than it was seen. So the corner
// the frames are kept under is written to the settings, and when the primary screen's corner is no
// longer that one, every frame is moved to the new corner, where it stands on the same spot.
class FrameOrigin {
public:
    explicit FrameOrigin(SettingsStore settings);

    // The notebook with its frames moved to the primary screen's corner now, which is kept from
    // then on; none when they are kept under that corner already. Frames of a first run, with no
    // corner kept, are taken as kept under the corner now.
    std::optional<NoteBook> follow(const NoteBook &book);

private:
    SettingsStore m_settings;
    std::optional<QPoint> m_kept;
};
