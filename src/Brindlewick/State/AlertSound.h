#pragma once

// The desktop's own alert sound.
namespace AlertSound {
// Plays the sound theme's "complete" event and returns at once: the sound is played on a thread of its
// own, so a sound server that stops answering costs only the sound. Without a sound theme or a sound
// device nothing happens.
void play();
}
