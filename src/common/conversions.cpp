#include "common/conversions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "common/errors.h"

namespace zeko {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The text without blanks, tabs and line feeds, which the number reader skips wherever they
// stand.
std::string without_blanks(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!is_blank(c)) s += c;
    return s;
}

double radix_number(std::string_view digits, int radix) {
    uint64_t value = 0;
    size_t n = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (radix == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (radix == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            break;
        if (d >= radix) break;
        value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFu) return static_cast<double>(value);
        ++n;
    }
    // Short hexadecimal and octal literals are two's-complement integers of their width.
    bool fits16 = radix == 16 ? n <= 4 : value <= 0xFFFF;
    if (fits16 && value > 0x7FFF) return static_cast<double>(value) - 65536.0;
    if (value > 0x7FFFFFFF) return static_cast<double>(value) - 4294967296.0;
    return static_cast<double>(value);
}

bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double Val(std::string_view text) {
    std::string s = without_blanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        char k = s[1];
        if (k == 'h' || k == 'H') return radix_number(std::string_view(s).substr(2), 16);
        if (k == 'o' || k == 'O') return radix_number(std::string_view(s).substr(2), 8);
        return 0;
    }
    // std::from_chars rather than strtod: the window toolkit switches the C library to the
    // user's locale, where strtod would stop at the point of "3.5" in a German one.
    std::string number;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (negative) number += '-';
    bool digits = false;
    // The power of ten of the first significant digit tells a number too large to hold from
    // one too small.
    bool seen_nonzero = false;
    int64_t int_digits = 0;
    while (i < s.size() && is_digit(s[i])) {
        seen_nonzero = seen_nonzero || s[i] != '0';
        if (seen_nonzero) ++int_digits;
        number += s[i++];
        digits = true;
    }
    int64_t lead_power = int_digits - 1;
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        int64_t place = 0;
        while (i < s.size() && is_digit(s[i])) {
            --place;
            if (s[i] != '0' && !seen_nonzero) {
                seen_nonzero = true;
                lead_power = place;
            }
            number += s[i++];
            digits = true;
        }
    }
    if (!digits) return 0;
    int64_t exponent_value = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exponent = "e";
        bool exp_negative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exp_negative = s[j] == '-';
            exponent += s[j++];
        }
        bool exp_digits = false;
        while (j < s.size() && is_digit(s[j])) {
            exponent_value = std::min<int64_t>(exponent_value * 10 + (s[j] - '0'), 1000000000);
            exponent += s[j++];
            exp_digits = true;
        }
        if (exp_negative) exponent_value = -exponent_value;
        if (exp_digits)
            number += exponent;
        else
            exponent_value = 0;
    }
    double value = 0;
    if (std::from_chars(number.data(), number.data() + number.size(), value).ec ==
        std::errc::result_out_of_range) {
        bool huge = seen_nonzero && lead_power + exponent_value >= 0;
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
        if (negative) value = -value;
    }
    return value;
}

int16_t CInt(double value) {
    double r = std::nearbyint(value);
    if (!(r >= -32768.0 && r <= 32767.0)) raise(Err::Overflow);
    return static_cast<int16_t>(r);
}

int32_t CLng(double value) {
    double r = std::nearbyint(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) raise(Err::Overflow);
    return static_cast<int32_t>(r);
}

double Int(double value) {
    return std::floor(value);
}

std::string Str(int64_t value) {
    std::string s = std::to_string(value);
    return value >= 0 ? " " + s : s;
}

std::string Str(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return Str(static_cast<int64_t>(value));
    // Fifteen significant digits, as "%.15G" gives, but without the locale's decimal comma.
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string s = ec == std::errc() ? std::string(buf, end) : std::string("0");
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    // Fractions are written without their leading zero: " .5", "-.25".
    if (s.rfind("0.", 0) == 0)
        s.erase(0, 1);
    else if (s.rfind("-0.", 0) == 0)
        s.erase(1, 1);
    return value >= 0 ? " " + s : s;
}

std::string UCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : static_cast<char>(c);
            ++i;
            continue;
        }
        // Two-byte sequences cover every lower-case letter of the code page.
        if ((c & 0xE0) == 0xC0 && i + 1 < text.size() &&
            (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            if ((cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) || cp == 0x161 || cp == 0x153 ||
                cp == 0x17E)
                cp = (cp >= 0xE0 && cp <= 0xFE) ? cp - 0x20 : cp - 1;
            else if (cp == 0xFF)
                cp = 0x178;
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
            i += 2;
            continue;
        }
        out += static_cast<char>(c);
        ++i;
    }
    return out;
}

int16_t to16(int64_t value) {
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        raise(Err::Overflow);
    return static_cast<int16_t>(value);
}

int16_t add16(int32_t a, int32_t b) {
    return to16(int64_t{a} + b);
}
int16_t sub16(int32_t a, int32_t b) {
    return to16(int64_t{a} - b);
}
int16_t mul16(int32_t a, int32_t b) {
    return to16(int64_t{a} * b);
}
int16_t abs16(int32_t a) {
    return to16(a < 0 ? -int64_t{a} : int64_t{a});
}

int16_t record_count(int64_t file_bytes, int64_t record_length) {
    return CInt(static_cast<double>(file_bytes) / static_cast<double>(record_length));
}

}  // namespace zeko
