#include "launcher/wav.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void tag(Bytes& b, const char* t) { b.insert(b.end(), t, t + 4); }
void chunk(Bytes& b, const char* id, const Bytes& body, std::uint32_t declared) {
  tag(b, id);
  put32(b, declared);
  b.insert(b.end(), body.begin(), body.end());
}

// A RIFF WAVE with a 16-byte PCM format and `samples` bytes of sound.
Bytes wave(std::size_t samples, std::uint32_t dataDeclared = 0xFFFFFFFF, std::uint32_t riffDeclared = 0xFFFFFFFF) {
  Bytes fmt = {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0};
  Bytes body;
  tag(body, "WAVE");
  chunk(body, "fmt ", fmt, 16);
  chunk(body, "data", Bytes(samples, 0x11), dataDeclared == 0xFFFFFFFF ? static_cast<std::uint32_t>(samples) : dataDeclared);
  Bytes file;
  tag(file, "RIFF");
  put32(file, riffDeclared == 0xFFFFFFFF ? static_cast<std::uint32_t>(body.size()) : riffDeclared);
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

TEST(Wave, FindsFormatAndSamplesPastOtherChunks) {
  const Bytes plain = wave(100);
  auto sound = launcher::parseWave(plain);
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->format.size(), 16u);
  EXPECT_EQ(sound->samples.size(), 100u);
  EXPECT_EQ(sound->samples[0], 0x11);

  // A "LIST" chunk of odd size (padded) before the format.
  Bytes listed;
  tag(listed, "WAVE");
  chunk(listed, "LIST", {1, 2, 3, 0}, 3);
  const Bytes fmt = {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0};
  chunk(listed, "fmt ", fmt, 16);
  chunk(listed, "data", Bytes(8, 0x22), 8);
  Bytes file;
  tag(file, "RIFF");
  put32(file, static_cast<std::uint32_t>(listed.size()));
  file.insert(file.end(), listed.begin(), listed.end());
  sound = launcher::parseWave(file);
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->samples.size(), 8u);
  EXPECT_EQ(sound->samples[0], 0x22);
}

TEST(Wave, RefusesFilesThatLieOrAreCutShort) {
  const Bytes good = wave(100);
  Bytes truncated(good.begin(), good.end() - 10);
  Bytes notRiff = good;
  notRiff[0] = 'X';
  Bytes notWave = good;
  notWave[8] = 'X';
  const struct {
    const char* what;
    Bytes file;
  } cases[] = {
      {"empty", {}},
      {"shorter than 36 bytes", Bytes(good.begin(), good.begin() + 35)},
      {"truncated", truncated},
      {"data claims more than the file", wave(100, 5000)},
      {"data claims 4 GiB", wave(100, 0xFFFFFFF0)},
      {"RIFF claims more than the file", wave(100, 0xFFFFFFFF, 100000)},
      {"not RIFF", notRiff},
      {"not WAVE", notWave},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(launcher::parseWave(c.file)) << c.what;
    EXPECT_EQ(launcher::classifySound(c.file), launcher::SoundKind::Silent) << c.what;
  }
  EXPECT_EQ(launcher::classifySound(good), launcher::SoundKind::Wave);
  const Bytes midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
  EXPECT_EQ(launcher::classifySound(midi), launcher::SoundKind::Midi);
}

}  // namespace
