#include <time.h>

#include <cstdio>
#include <cstdlib>

#include "platform/clock.h"

namespace appdu::platform {

TimeValue SystemClock::Now() const { return static_cast<TimeValue>(time(nullptr)); }

std::string FormatLocalIso8601(TimeValue value) {
  const time_t seconds = static_cast<time_t>(value);
  struct tm local;
  if (localtime_r(&seconds, &local) == nullptr) return {};
  const long offsetMinutes = local.tm_gmtoff / 60;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                offsetMinutes < 0 ? '-' : '+', std::labs(offsetMinutes) / 60, std::labs(offsetMinutes) % 60);
  return text;
}

}  // namespace appdu::platform
