#pragma once
#include "platform/clock.h"
#include "platform/sound.h"

#include <string>
#include <vector>

class RecordingSound : public platform::Sound {
public:
    void playWave(const std::string& path) override { played.push_back(path); }
    void prepare(const std::string& path) override { prepared.push_back(path); }
    void beep() override { ++beeps; }
    std::vector<std::string> played;
    std::vector<std::string> prepared;
    int beeps = 0;
};

class FixedClock : public platform::Clock {
public:
    std::uint32_t utcMillisecondsOfDay() const override { return ms; }
    platform::MonthDay localDate() const override { return date; }
    std::uint32_t ms = 45296789;
    platform::MonthDay date{12, 8};
};
