#pragma once

#include <cstdint>

namespace zeko {

class Prompts;

struct LocalDateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    double seconds_since_midnight() const {
        return hour * 3600.0 + minute * 60.0 + second + millisecond / 1000.0;
    }
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() = 0;
};

// The program's uniform random numbers in [0, 1).
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void seed(double value) = 0;
    virtual float next() = 0;
};

// The whole screen, in twips.
class Screen {
  public:
    virtual ~Screen() = default;
    virtual int32_t width_twips() = 0;
    virtual int32_t height_twips() = 0;
};

// What the core reaches the outside world through.
struct Services {
    Prompts* prompts = nullptr;
    Clock* clock = nullptr;
    RandomSource* random = nullptr;
    Screen* screen = nullptr;
};

// The real clock (local time) and a random source seeded from the clock.
class SystemClock final : public Clock {
  public:
    LocalDateTime now() override;
};

// The classic 24-bit linear congruential generator, so a given seed repeats its sequence.
class LcgRandom final : public RandomSource {
  public:
    explicit LcgRandom(uint32_t state = 0x50000) : state_(state & 0xFFFFFF) {}
    void seed(double value) override;
    float next() override;

  private:
    uint32_t state_;
};

}  // namespace zeko
