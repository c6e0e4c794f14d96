#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zeko {

// Fixed-length records are laid out field after field: 16-bit integers little-endian, single
// bytes, and fixed-width 8-bit text fields. A record type lists its fields once, in a
// function template `visit_fields(io, record)`; the writer and the reader below walk that one
// list, so the two directions cannot drift apart.

class RecordWriter {
  public:
    explicit RecordWriter(std::span<uint8_t> out) : out_(out) {}
    void field(int16_t v) {
        const auto u = static_cast<uint16_t>(v);
        out_[pos_++] = static_cast<uint8_t>(u & 0xFF);
        out_[pos_++] = static_cast<uint8_t>(u >> 8);
    }
    void field(uint8_t v) { out_[pos_++] = v; }
    template <size_t N>
    void field(const std::array<char, N>& text) {
        std::copy_n(reinterpret_cast<const uint8_t*>(text.data()), N, out_.begin() + pos_);
        pos_ += N;
    }

  private:
    std::span<uint8_t> out_;
    size_t pos_ = 0;
};

class RecordReader {
  public:
    explicit RecordReader(std::span<const uint8_t> in) : in_(in) {}
    void field(int16_t& v) {
        v = static_cast<int16_t>(static_cast<uint16_t>(in_[pos_] | (in_[pos_ + 1] << 8)));
        pos_ += 2;
    }
    void field(uint8_t& v) { v = in_[pos_++]; }
    template <size_t N>
    void field(std::array<char, N>& text) {
        std::copy_n(in_.begin() + pos_, N, reinterpret_cast<uint8_t*>(text.data()));
        pos_ += N;
    }

  private:
    std::span<const uint8_t> in_;
    size_t pos_ = 0;
};

}  // namespace zeko
