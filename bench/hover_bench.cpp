// The hover path's cost: CPU time a running bar spends per mouse movement over
// one of its icons.
//
//   hover_bench MOVES NAME=EXE [NAME=EXE ...]
//
// Starts each bar, waits for it to settle, then posts MOVES mouse movements to
// its first icon, in batches the queue can hold, and reads the bar's CPU time
// (GetProcessTimes) before the first and after the bar has gone idle again
// (its CPU time stands still). An idle bar spends none, so nothing is taken
// off. Prints one line per program: the microseconds of CPU per movement.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

HWND mainWindowOf(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{pid, nullptr};
  EnumWindows(
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        if (owner == s->pid && IsWindowVisible(h) && lstrcmpW(cls, L"ui.MainWindow") == 0) s->found = h;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The icon at the bar's left end (entry 1).
HWND firstIcon(HWND bar) {
  for (HWND c = GetWindow(bar, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    GetClassNameW(c, cls, 64);
    RECT r{};
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&r), 2);
    if (lstrcmpW(cls, L"ui.PictureBox") == 0 && IsWindowVisible(c) && r.left < 10) return c;
  }
  return nullptr;
}

double cpuMicroseconds(HANDLE process) {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(process, &created, &ended, &kernel, &user);
  auto value = [](const FILETIME& t) { return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime); };
  return (value(kernel) + value(user)) / 10.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: hover_bench MOVES NAME=EXE...\n");
    return 2;
  }
  const int moves = std::max(1, std::atoi(argv[1]));
  for (int a = 2; a < argc; ++a) {
    const std::string program = argv[a];
    const std::string name = program.substr(0, program.find('='));
    const std::string exe = program.substr(program.find('=') + 1);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string line = "\"" + exe + "\"";
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      std::fprintf(stderr, "cannot start %s\n", exe.c_str());
      return 1;
    }
    HWND bar = nullptr;
    for (int i = 0; i < 1000 && !bar; ++i, Sleep(20)) bar = mainWindowOf(pi.dwProcessId);
    Sleep(1000);  // start-up done
    HWND icon = bar ? firstIcon(bar) : nullptr;
    if (!icon) {
      std::fprintf(stderr, "%s: no bar or no icon\n", name.c_str());
      TerminateProcess(pi.hProcess, 1);
      return 1;
    }
    const LPARAM middle = MAKELPARAM(16, 16);
    // Idle: the CPU time has not moved for five looks 40 ms apart (it is
    // counted in 10 ms ticks here).
    auto waitIdle = [&] {
      double last = cpuMicroseconds(pi.hProcess);
      for (int still = 0; still < 5;) {
        Sleep(40);
        const double now = cpuMicroseconds(pi.hProcess);
        still = now == last ? still + 1 : 0;
        last = now;
      }
    };
    waitIdle();
    const double before = cpuMicroseconds(pi.hProcess);
    for (int done = 0; done < moves;) {
      const int batch = std::min(1000, moves - done);  // a queue holds 10000
      for (int i = 0; i < batch; ++i) PostMessageW(icon, WM_MOUSEMOVE, 0, middle);
      done += batch;
      waitIdle();
    }
    const double after = cpuMicroseconds(pi.hProcess);
    std::printf("%s %.1f\n", name.c_str(), (after - before) / moves);
    std::fflush(stdout);
    PostMessageW(bar, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  return 0;
}
