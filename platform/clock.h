#pragma once
#include <cstdint>

namespace platform {

struct MonthDay {
    int month = 1; // 1..12
    int day = 1;   // 1..31
};

// The time seam: the shuffle is seeded from the UTC time of day, test results are dated with the
// local calendar day. Tests substitute a fixed clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t utcMillisecondsOfDay() const = 0;
    virtual MonthDay localDate() const = 0;
};

class SystemClock final : public Clock {
public:
    std::uint32_t utcMillisecondsOfDay() const override;
    MonthDay localDate() const override;
};

} // namespace platform
