#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace platform {

std::uint32_t SystemClock::utcMillisecondsOfDay() const {
    using namespace std::chrono;
    const auto now = floor<milliseconds>(system_clock::now());
    const auto sinceMidnight = now - floor<days>(now);
    return static_cast<std::uint32_t>(sinceMidnight.count());
}

MonthDay SystemClock::localDate() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return MonthDay{local.tm_mon + 1, local.tm_mday};
}

} // namespace platform
