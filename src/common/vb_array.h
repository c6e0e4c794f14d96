#pragma once

#include <vector>

#include "common/errors.h"

namespace zeko {

// An array with its own lower bound, as the program's tables are indexed (characters from 1,
// guilds by place code from 105). An index outside the bounds raises subscript out of range
// instead of reading past the end.
template <class T>
class VbArray {
  public:
    VbArray() = default;
    VbArray(int lower, int upper) { redim(lower, upper); }

    // New bounds; previous contents are discarded. upper < lower gives an empty array.
    void redim(int lower, int upper) {
        lower_ = lower;
        items_.assign(upper >= lower ? static_cast<size_t>(upper - lower + 1) : 0, T{});
    }

    T& operator()(int index) { return items_[checked(index)]; }
    const T& operator()(int index) const { return items_[checked(index)]; }

    int lbound() const { return lower_; }
    int ubound() const { return lower_ + static_cast<int>(items_.size()) - 1; }
    int size() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    size_t checked(int index) const {
        if (index < lower_ || index > ubound()) raise(Err::SubscriptOutOfRange);
        return static_cast<size_t>(index - lower_);
    }

    int lower_ = 0;
    std::vector<T> items_;
};

}  // namespace zeko
