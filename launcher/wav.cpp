#include "launcher/wav.h"

#include <cstring>

namespace launcher {
namespace {

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

bool tagIs(std::span<const std::uint8_t> b, std::size_t at, const char (&tag)[5]) {
  return std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

std::optional<WaveSound> parseWave(std::span<const std::uint8_t> file) {
  constexpr std::size_t kSmallestWave = 36;
  if (file.size() < kSmallestWave || file.size() > kMaxSoundFileBytes) return std::nullopt;
  if (!tagIs(file, 0, "RIFF") || !tagIs(file, 8, "WAVE")) return std::nullopt;
  // The RIFF size may claim less than the file holds (trailing junk is
  // ignored) but never more.
  const std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(le32(file, 4));
  if (riffEnd > file.size()) return std::nullopt;
  const std::size_t end = static_cast<std::size_t>(riffEnd);

  WaveSound sound;
  bool haveFormat = false;
  bool haveSamples = false;
  for (std::size_t at = 12; at + 8 <= end;) {
    const std::size_t size = le32(file, at + 4);
    const std::size_t body = at + 8;
    if (size > end - body) return std::nullopt;  // a chunk that lies about its size
    if (tagIs(file, at, "fmt ")) {
      if (size < 16 || haveFormat) return std::nullopt;
      sound.format = file.subspan(body, size);
      haveFormat = true;
    } else if (tagIs(file, at, "data") && !haveSamples) {
      sound.samples = file.subspan(body, size);
      haveSamples = true;
    }
    at = body + size + (size & 1);  // chunks are padded to even sizes
  }
  if (!haveFormat || !haveSamples) return std::nullopt;
  return sound;
}

SoundKind classifySound(std::span<const std::uint8_t> file) {
  if (parseWave(file)) return SoundKind::Wave;
  if (file.size() >= 4 && file.size() <= kMaxSoundFileBytes && tagIs(file, 0, "MThd")) return SoundKind::Midi;
  return SoundKind::Silent;
}

}  // namespace launcher
