#pragma once
// The platform clock behind the Clock seam.

#include <windows.h>

#include "display/clock_format.h"

TimeRecord ToTimeRecord(const SYSTEMTIME& time);

class WinClock : public Clock {
 public:
  TimeRecord LocalNow() const override;
  uint32_t TickCount() const override;
};
