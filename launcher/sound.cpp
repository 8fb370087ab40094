#include "launcher/sound.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/profile.h"
#include "launcher/wav.h"

namespace launcher {
namespace {

std::atomic<int> started{0};
std::atomic<int> running{0};
std::atomic<int> mostAtOnce{0};

std::string soundPath() { return app::dataFilePath("1.wav"); }

bool readWhole(const std::string& path, std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 &&
            static_cast<unsigned long long>(size.QuadPart) <= kMaxSoundFileBytes;
  if (ok) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    ok = bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) &&
                           got == bytes.size());
  }
  CloseHandle(file);
  return ok;
}

// Runs on a thread of its own and touches nothing of the program.
void playWave(const std::vector<std::uint8_t>& file) {
  const std::optional<WaveSound> sound = parseWave(file);
  if (!sound) return;
  std::vector<std::uint8_t> format(std::max(sound->format.size(), sizeof(WAVEFORMATEX)), 0);
  std::memcpy(format.data(), sound->format.data(), sound->format.size());
  auto* wave = reinterpret_cast<WAVEFORMATEX*>(format.data());
  if (sound->format.size() < sizeof(WAVEFORMATEX)) wave->cbSize = 0;
  if (sound->format.size() < sizeof(WAVEFORMATEX) + wave->cbSize) wave->cbSize = 0;

  HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!done) return;
  HWAVEOUT out = nullptr;
  if (waveOutOpen(&out, WAVE_MAPPER, wave, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    CloseHandle(done);
    return;
  }
  ++started;
  const int now = ++running;
  for (int seen = mostAtOnce; now > seen && !mostAtOnce.compare_exchange_weak(seen, now);) {
  }
  WAVEHDR header{};
  header.lpData = reinterpret_cast<LPSTR>(const_cast<std::uint8_t*>(sound->samples.data()));
  header.dwBufferLength = static_cast<DWORD>(sound->samples.size());
  if (waveOutPrepareHeader(out, &header, sizeof header) == MMSYSERR_NOERROR) {
    if (waveOutWrite(out, &header, sizeof header) == MMSYSERR_NOERROR) {
      // Bounded: the sound's own length and some slack, then it is cut.
      const DWORD rate = std::max<DWORD>(wave->nAvgBytesPerSec, 1);
      const ULONGLONG limit = GetTickCount64() + 1000ull * header.dwBufferLength / rate + 5000;
      while (!(header.dwFlags & WHDR_DONE) && GetTickCount64() < limit) WaitForSingleObject(done, 50);
      if (!(header.dwFlags & WHDR_DONE)) waveOutReset(out);
    }
    waveOutUnprepareHeader(out, &header, sizeof header);
  }
  waveOutClose(out);
  --running;
  CloseHandle(done);
}

void playMidi(const std::string& path) {
  mciSendStringA("close bar_hover_midi", nullptr, 0, nullptr);
  const std::string open = "open \"" + path + "\" type sequencer alias bar_hover_midi";
  if (mciSendStringA(open.c_str(), nullptr, 0, nullptr) == 0) mciSendStringA("play bar_hover_midi", nullptr, 0, nullptr);
}

}  // namespace

void playHoverSound() {
  const std::string path = soundPath();
  std::vector<std::uint8_t> bytes;
  if (!readWhole(path, bytes)) return;
  switch (classifySound(bytes)) {
    case SoundKind::Wave:
      try {
        std::thread([file = std::move(bytes)] { playWave(file); }).detach();
      } catch (const std::system_error&) {
        // no thread, no sound
      }
      return;
    case SoundKind::Midi:
      playMidi(path);
      return;
    case SoundKind::Silent:
      return;
  }
}

PlaybackCounts playbackCounts() { return {started.load(), mostAtOnce.load()}; }

}  // namespace launcher
