#pragma once

// The desktop's own alert sound.
namespace AlertSound {
// Plays the sound theme's "complete" event; without a sound theme or a sound device nothing happens.
void play();
}
