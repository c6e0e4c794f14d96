#include "screenshots/bitmap_file.h"

#include <limits>

namespace zeko {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
// 96 dots per inch.
constexpr int32_t kPixelsPerMetre = 3780;

void put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void put32(std::string& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

}  // namespace

std::string encode_bmp(int width, int height, std::span<const uint8_t> rgb, size_t stride) {
    if (width <= 0 || height <= 0) return {};
    const uint64_t w = static_cast<uint64_t>(width);
    const uint64_t h = static_cast<uint64_t>(height);
    // The last row starts (h - 1) strides in and needs w * 3 bytes; asked by division, as the
    // product may not fit in 64 bits.
    if (stride < w * 3 || rgb.size() < w * 3 || (rgb.size() - w * 3) / stride < h - 1) return {};
    const uint64_t row_bytes = (w * 3 + 3) / 4 * 4;
    const uint64_t image_bytes = row_bytes * h;
    const uint64_t file_bytes = kFileHeaderBytes + kInfoHeaderBytes + image_bytes;
    if (file_bytes > std::numeric_limits<int32_t>::max()) return {};

    std::string out;
    out.reserve(static_cast<size_t>(file_bytes));
    out += "BM";
    put32(out, static_cast<uint32_t>(file_bytes));
    put32(out, 0);  // reserved
    put32(out, kFileHeaderBytes + kInfoHeaderBytes);
    put32(out, kInfoHeaderBytes);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));  // positive: bottom row first
    put16(out, 1);                              // planes
    put16(out, 24);                             // bits per pixel
    put32(out, 0);                              // BI_RGB, no compression
    put32(out, static_cast<uint32_t>(image_bytes));
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, 0);  // colours used
    put32(out, 0);  // important colours

    const size_t padding = static_cast<size_t>(row_bytes - w * 3);
    for (uint64_t y = h; y-- > 0;) {
        const uint8_t* row = rgb.data() + y * stride;
        for (uint64_t x = 0; x < w; ++x) {
            out += static_cast<char>(row[x * 3 + 2]);
            out += static_cast<char>(row[x * 3 + 1]);
            out += static_cast<char>(row[x * 3]);
        }
        out.append(padding, '\0');
    }
    return out;
}

}  // namespace zeko
