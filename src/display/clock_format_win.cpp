#include "display/clock_format_win.h"

TimeRecord ToTimeRecord(const SYSTEMTIME& t) {
  return TimeRecord{t.wYear, t.wMonth, t.wDayOfWeek, t.wDay,
                    t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

TimeRecord WinClock::LocalNow() const {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return ToTimeRecord(now);
}

uint32_t WinClock::TickCount() const { return GetTickCount(); }
