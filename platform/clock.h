#pragma once

#include <cstdint>
#include <string>

namespace appdu::platform {

// Seconds since 1970-01-01 UTC.
using TimeValue = std::int64_t;

// "Now", injectable so that ages can be tested.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual TimeValue Now() const = 0;
};

class SystemClock final : public Clock {
 public:
  TimeValue Now() const override;
};

// The time in local time as ISO 8601 with its UTC offset,
// for example "2026-12-11T10:41:09+01:00".
std::string FormatLocalIso8601(TimeValue time);

}  // namespace appdu::platform
