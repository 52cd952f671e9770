#include "timing_commands.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "window_finder.h"

namespace uiprobe {
namespace {

// The wall-clock time in microseconds since 1970, comparable with the host's clock.
long long unix_microseconds() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  constexpr ULONGLONG kTicksFrom1601To1970 = 116444736000000000ull;
  return static_cast<long long>((ticks - kTicksFrom1601To1970) / 10);
}

double elapsed_ms(const LARGE_INTEGER& before, const LARGE_INTEGER& after) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int watch_text(HWND control, unsigned duration_ms) {
  timeBeginPeriod(1);
  const ULONGLONG deadline = GetTickCount64() + duration_ms;
  std::string shown;
  for (bool first = true; GetTickCount64() < deadline; first = false) {
    const std::string text = window_text(control);
    if (first || text != shown) {
      std::printf("%lld %s\n", unix_microseconds(), text.c_str());
      std::fflush(stdout);
      shown = text;
    }
    Sleep(1);
  }
  timeEndPeriod(1);
  return 0;
}

int ping_window(HWND window, unsigned duration_ms) {
  timeBeginPeriod(1);
  std::vector<double> times;
  int unanswered = 0;
  const ULONGLONG deadline = GetTickCount64() + duration_ms;
  while (GetTickCount64() < deadline) {
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored)) ++unanswered;
    QueryPerformanceCounter(&after);
    times.push_back(elapsed_ms(before, after));
    Sleep(20);
  }
  timeEndPeriod(1);
  std::sort(times.begin(), times.end());
  const auto slow = std::count_if(times.begin(), times.end(), [](double t) { return t > 200; });
  std::printf(
      "{\"count\":%zu,\"median_ms\":%.2f,\"max_ms\":%.2f,\"over_200_ms\":%ld,\"unanswered\":%d}\n",
      times.size(), times.empty() ? 0.0 : times[times.size() / 2],
      times.empty() ? 0.0 : times.back(), static_cast<long>(slow), unanswered);
  return unanswered == 0 ? 0 : 1;
}

}  // namespace uiprobe
