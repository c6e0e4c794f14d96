#include "images_site.h"

#include <cstdint>
#include <string>

namespace zeko::sandbox {

namespace {

constexpr int kSide = 18;

bool is_emoticon(int n) {
    return (n >= 1 && n <= 79) || (n >= 100 && n <= 108);
}

void put16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

// A square GIF: a yellow face of a colour of its own (from the number) on a transparent
// ground. The picture data is written without compression: a clear code before every two
// pixels keeps the code width at three bits.
std::string emoticon_gif(int n) {
    std::string gif = "GIF89a";
    put16(gif, kSide);
    put16(gif, kSide);
    gif += static_cast<char>(0x80);  // global colour table of 2 entries
    gif += '\0';                     // background colour index
    gif += '\0';
    const uint8_t red = static_cast<uint8_t>(255 - (n * 37) % 96);
    const uint8_t green = static_cast<uint8_t>(200 + (n * 53) % 56);
    const uint8_t blue = static_cast<uint8_t>((n * 71) % 128);
    gif += std::string("\x00\x00\x00", 3);
    gif += static_cast<char>(red);
    gif += static_cast<char>(green);
    gif += static_cast<char>(blue);
    gif += std::string("\x21\xF9\x04\x01\x00\x00\x00\x00", 8);  // index 0 is transparent
    gif += ',';
    put16(gif, 0);
    put16(gif, 0);
    put16(gif, kSide);
    put16(gif, kSide);
    gif += '\0';
    gif += static_cast<char>(2);  // minimum code size

    std::string data;
    uint32_t bits = 0;
    int nbits = 0;
    auto code = [&](uint32_t c) {
        bits |= c << nbits;
        nbits += 3;
        while (nbits >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            nbits -= 8;
        }
    };
    const double centre = (kSide - 1) / 2.0;
    const double radius = kSide / 2.0 - 0.5;
    int pixel = 0;
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x, ++pixel) {
            if (pixel % 2 == 0) code(4);
            const double dx = x - centre;
            const double dy = y - centre;
            code(dx * dx + dy * dy <= radius * radius ? 1 : 0);
        }
    }
    code(5);
    if (nbits > 0) data += static_cast<char>(bits & 0xFF);
    for (size_t at = 0; at < data.size(); at += 255) {
        const std::string block = data.substr(at, 255);
        gif += static_cast<char>(block.size());
        gif += block;
    }
    gif += '\0';
    gif += ';';
    return gif;
}

}  // namespace

void add_image_routes(httplib::Server& server) {
    server.Get(R"(/i/mesg/emoticons7/(\d{1,3})\.gif)",
               [](const httplib::Request& req, httplib::Response& res) {
                   const int n = std::stoi(req.matches[1].str());
                   if (!is_emoticon(n)) {
                       res.status = 404;
                       return;
                   }
                   res.set_header("Cache-Control", "max-age=3600");
                   res.set_content(emoticon_gif(n), "image/gif");
               });
}

}  // namespace zeko::sandbox
