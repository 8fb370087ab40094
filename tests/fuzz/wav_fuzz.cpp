// Any bytes as a hover sound: parsing must stay inside the input and only
// ever return chunks that lie within it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "launcher/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const auto sound = launcher::parseWave(file);
  if (sound) {
    auto inside = [&](std::span<const std::uint8_t> part) {
      return part.data() >= data && part.data() + part.size() <= data + size;
    };
    if (!inside(sound->format) || !inside(sound->samples) || sound->format.size() < 16) std::abort();
  }
  (void)launcher::classifySound(file);
  return 0;
}
