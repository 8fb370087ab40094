// The hover sound, data\1.wav: read whole at every call and played once,
// asynchronously, each call on a playback of its own so quick movements
// overlap. A MIDI file plays through MCI instead, replacing MIDI already
// playing. Anything else is silent.
#pragma once

namespace launcher {

void playHoverSound();

// How many wave playbacks reached the device, and the most that ran at once.
struct PlaybackCounts {
  int started = 0;
  int mostAtOnce = 0;
};
PlaybackCounts playbackCounts();

}  // namespace launcher
