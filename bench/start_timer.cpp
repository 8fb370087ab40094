// Times programs from process start to their window being mapped on the X
// screen (what a user sees), and reads their peak working set, side by side
// in one run.
//
//   start_timer RUNS PAGE_FILE PORT_FILE MAP_LOG NAME=EXE [NAME=EXE ...]
//
// It serves PAGE_FILE on a loopback port (written to PORT_FILE) for the
// programs' weather page. MAP_LOG is the output of
// `xev -root -event substructure` on Wine's display, growing while it runs:
// a window counts as shown when its X window's MapNotify appears there. One
// line per program: median start-up in milliseconds and median peak working
// set in KiB.
#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// The top-level window of process `pid` whose X window is `xid`, or null.
HWND windowOfX(DWORD pid, unsigned long xid) {
  struct Search {
    DWORD pid;
    unsigned long xid;
    HWND found;
  } search{pid, xid, nullptr};
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        // Wine keeps each window's X window id in this property.
        if (owner == s->pid && reinterpret_cast<ULONG_PTR>(GetPropA(h, "__wine_x11_whole_window")) == s->xid) {
          s->found = h;
        }
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Reads what xev has added to the log since `offset` and returns the X
// windows mapped in it.
std::vector<unsigned long> newlyMapped(const std::string& log, std::size_t& offset) {
  std::vector<unsigned long> mapped;
  HANDLE f = CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return mapped;
  LARGE_INTEGER size{};
  GetFileSizeEx(f, &size);
  std::string text;
  if (static_cast<std::size_t>(size.QuadPart) > offset) {
    text.resize(static_cast<std::size_t>(size.QuadPart) - offset);
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    SetFilePointerEx(f, at, nullptr, FILE_BEGIN);
    DWORD got = 0;
    ReadFile(f, text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    text.resize(got);
  }
  CloseHandle(f);
  // Only whole events ("MapNotify event, ...\n    event 0x.., window 0x.., override NO"); the rest is read again.
  std::size_t consumed = text.rfind('\n') == std::string::npos ? 0 : text.rfind('\n') + 1;
  for (std::size_t at = text.find("MapNotify event"); at != std::string::npos; at = text.find("MapNotify event", at + 1)) {
    const std::size_t end = text.find("override", at);
    if (end == std::string::npos) {
      consumed = at;
      break;
    }
    const std::size_t w = text.find(", window 0x", text.find("\n", at));  // the second line's window is the one mapped
    if (w < end) mapped.push_back(std::strtoul(text.c_str() + w + 9, nullptr, 16));
  }
  offset += consumed;
  return mapped;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) {
    std::fprintf(stderr, "usage: start_timer RUNS PAGE_FILE PORT_FILE MAP_LOG NAME=EXE...\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  std::stringstream pageText;
  pageText << std::ifstream(argv[2], std::ios::binary).rdbuf();
  const std::string page = pageText.str();
  const std::string response = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                               std::to_string(page.size()) + "\r\n\r\n" + page;

  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, 8);
  int length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  std::ofstream(argv[3]) << ntohs(address.sin_port);
  std::thread([listener, response] {
    for (;;) {
      SOCKET c = accept(listener, nullptr, nullptr);
      if (c == INVALID_SOCKET) return;
      char buffer[4096];
      std::string request;
      while (request.find("\r\n\r\n") == std::string::npos) {
        const int got = recv(c, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
      }
      send(c, response.data(), static_cast<int>(response.size()), 0);
      shutdown(c, SD_SEND);
      closesocket(c);
    }
  }).detach();
  Sleep(200);  // the port file is read by the caller before it names programs

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const std::string mapLog = argv[4];
  struct Program {
    std::string name, exe;
    std::vector<double> times, peaks;
  };
  std::vector<Program> programs;
  for (int a = 5; a < argc; ++a) {
    const std::string arg = argv[a];
    programs.push_back({arg.substr(0, arg.find('=')), arg.substr(arg.find('=') + 1), {}, {}});
  }
  // Round by round, every program once per round: a change in the machine's
  // load then reaches all of them alike.
  for (int run = 0; run <= runs; ++run) {  // run 0 warms the caches and is not counted
    for (Program& program : programs) {
      STARTUPINFOA si{};
      si.cb = sizeof si;
      PROCESS_INFORMATION pi{};
      std::string line = "\"" + program.exe + "\"";
      std::size_t logOffset = 0;
      newlyMapped(mapLog, logOffset);  // skip what came before
      LARGE_INTEGER start, seen;
      QueryPerformanceCounter(&start);
      if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::fprintf(stderr, "cannot start %s\n", program.exe.c_str());
        return 1;
      }
      HWND window = nullptr;
      while (!window) {
        for (unsigned long xid : newlyMapped(mapLog, logOffset)) {
          if (!window) window = windowOfX(pi.dwProcessId, xid);
        }
        if (!window && WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
      }
      QueryPerformanceCounter(&seen);
      const double ms = 1000.0 * static_cast<double>(seen.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
      Sleep(500);  // settled, as a user would see it
      PROCESS_MEMORY_COUNTERS memory{};
      memory.cb = sizeof memory;
      GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
      if (!window) std::fprintf(stderr, "%s: no window of it was mapped\n", program.name.c_str());
      if (run > 0 && window) {
        program.times.push_back(ms);
        program.peaks.push_back(static_cast<double>(memory.PeakWorkingSetSize) / 1024.0);
      }
      if (window) PostMessageW(window, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hThread);
      CloseHandle(pi.hProcess);
    }
  }
  for (const Program& program : programs) {
    std::printf("%s %.1f %.0f\n", program.name.c_str(), median(program.times), median(program.peaks));
    std::fprintf(stderr, "%s ms:", program.name.c_str());  // every run, for the spread
    for (double t : program.times) std::fprintf(stderr, " %.0f", t);
    std::fprintf(stderr, "\n");
  }
  return 0;
}
