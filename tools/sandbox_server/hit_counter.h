#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace zeko::sandbox {

// How many requests each path received. Paths are counted with a leading "/".
class HitCounter {
  public:
    // A flood of distinct paths must not grow memory without end: past this many, only the
    // paths already known are counted.
    static constexpr size_t kMaxPaths = 10000;

    static std::string normalise(std::string_view path) {
        std::string p(path);
        if (p.empty() || p.front() != '/') p.insert(p.begin(), '/');
        return p;
    }

    void count(std::string_view path) {
        const std::string key = normalise(path);
        std::lock_guard lock(mutex_);
        auto it = hits_.find(key);
        if (it != hits_.end()) {
            ++it->second;
        } else if (hits_.size() < kMaxPaths) {
            hits_.emplace(key, 1);
        }
    }

    uint64_t hits(std::string_view path) const {
        std::lock_guard lock(mutex_);
        auto it = hits_.find(normalise(path));
        return it == hits_.end() ? 0 : it->second;
    }

  private:
    mutable std::mutex mutex_;
    std::map<std::string, uint64_t, std::less<>> hits_;
};

}  // namespace zeko::sandbox
