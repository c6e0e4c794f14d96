#include "common/codepage.h"

#include <algorithm>
#include <array>

namespace zeko {

namespace {

// Bytes 80..9F of Windows-1252. The five unassigned ones map to the C1 control of the same
// number so that they round-trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t decode_byte(unsigned char b) {
    return (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : b;
}

int encode_char(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

// Walks a UTF-8 text one character at a time; a malformed byte comes back as one character
// that no code page holds.
template <class F>
void for_each_char(std::string_view s, F&& f) {
    constexpr char32_t kBad = 0xFFFFFFFF;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t len = c < 0x80             ? 1
                     : (c & 0xE0) == 0xC0 ? 2
                     : (c & 0xF0) == 0xE0 ? 3
                     : (c & 0xF8) == 0xF0 ? 4
                                          : 0;
        if (len == 0 || i + len > s.size()) {
            f(kBad);
            ++i;
            continue;
        }
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = true;
        for (size_t k = 1; k < len; ++k) {
            unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogate halves and numbers past U+10FFFF are not characters;
        // taking them would let "\xC0\xAF" through as "/".
        constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (ok && (cp < kSmallest[len] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF))
            ok = false;
        if (!ok) {
            f(kBad);
            ++i;
            continue;
        }
        f(cp);
        i += len;
    }
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string to_cp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for_each_char(utf8, [&](char32_t cp) {
        int b = encode_char(cp);
        out += b < 0 ? '?' : static_cast<char>(b);
    });
    return out;
}

std::string from_cp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        append_utf8(out, decode_byte(static_cast<unsigned char>(c)));
    return out;
}

size_t char_count(std::string_view utf8) {
    size_t n = 0;
    for_each_char(utf8, [&](char32_t) { ++n; });
    return n;
}

std::string to_fixed_field(std::string_view utf8, size_t width) {
    std::string s = to_cp1252(utf8);
    s.resize(width, ' ');
    return s;
}

uint8_t length_byte(std::string_view utf8) {
    return static_cast<uint8_t>(std::min<size_t>(char_count(utf8), 255));
}

std::string read_fixed_field(std::string_view field, uint8_t length) {
    return from_cp1252(field.substr(0, std::min<size_t>(length, field.size())));
}

}  // namespace zeko
