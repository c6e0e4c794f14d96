#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zeko {

// A Windows bitmap file (BITMAPFILEHEADER, BITMAPINFOHEADER, 24 bits per pixel, rows bottom
// up, each padded to four bytes) from a picture given top row first, three bytes R, G, B per
// pixel, `stride` bytes from one row to the next. Empty when the sizes do not describe the
// pixels or the file would exceed what its 32-bit size fields hold.
std::string encode_bmp(int width, int height, std::span<const uint8_t> rgb, size_t stride);

}  // namespace zeko
