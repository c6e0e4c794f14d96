#include "common/services.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>

namespace zeko {

LocalDateTime SystemClock::now() {
    using namespace std::chrono;
    auto t = system_clock::now();
    std::time_t tt = system_clock::to_time_t(t);
    std::tm local{};
    localtime_r(&tt, &local);
    auto ms = duration_cast<milliseconds>(t.time_since_epoch()).count() % 1000;
    return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,       local.tm_hour,
                         local.tm_min,         local.tm_sec,     static_cast<int>(ms)};
}

// The classic generator: x' = (x * 1140671485 + 12820163) mod 2^24, answered as x' / 2^24.
float LcgRandom::next() {
    state_ = static_cast<uint32_t>((uint64_t{state_} * 1140671485u + 12820163u) & 0xFFFFFFu);
    return static_cast<float>(state_) / 16777216.0f;
}

// Seeding mixes the bytes of the seed into the middle of the state, as the classic Randomize
// does, so two runs started in different seconds follow different sequences.
void LcgRandom::seed(double value) {
    float f = static_cast<float>(value);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    uint32_t mixed = ((bits & 0xFFFFu) ^ (bits >> 16)) << 8;
    state_ = (state_ & 0xFF0000FFu) | (mixed & 0x00FFFF00u);
    state_ &= 0xFFFFFFu;
}

}  // namespace zeko
