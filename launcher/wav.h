// The hover sound file: a RIFF WAVE to play, a MIDI sequence, or nothing.
// Outside data, so every length is checked against the bytes really there.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace launcher {

// Larger files are not read at all: a hover sound is a short click.
inline constexpr std::size_t kMaxSoundFileBytes = 16u << 20;

enum class SoundKind { Silent, Wave, Midi };

struct WaveSound {
  std::span<const std::uint8_t> format;   // the "fmt " chunk, at least 16 bytes
  std::span<const std::uint8_t> samples;  // the "data" chunk
};

// A RIFF "WAVE" file of at least 36 bytes with "fmt " and "data" chunks that
// all fit inside the file; nothing otherwise.
std::optional<WaveSound> parseWave(std::span<const std::uint8_t> file);

SoundKind classifySound(std::span<const std::uint8_t> file);

}  // namespace launcher
