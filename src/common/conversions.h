#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zeko {

// 16-bit booleans as records and flags keep them: -1 true, 0 false. Several readers compare
// with -1 exactly, so nothing else is ever stored.
using VbBool = int16_t;
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;
constexpr VbBool to_vb(bool b) {
    return b ? kTrue : kFalse;
}

// The number a text begins with: blanks, tabs and line feeds are skipped wherever they stand,
// an optional sign, digits with one decimal point, an optional exponent (E or D), or a &H / &O
// prefixed whole number; reading stops at the first character that cannot continue the
// number. No number at all gives 0.
double Val(std::string_view text);

// Round to the nearest integer, halves to the even neighbour; outside the target range (or
// not a number) raises Err::Overflow.
int16_t CInt(double value);
int32_t CLng(double value);

// Largest integer not above value.
double Int(double value);

// The plain number-to-text conversion: non-negative numbers get a leading blank.
std::string Str(int64_t value);
std::string Str(double value);
// Any int-sized or smaller integer (a 16-bit coordinate, a literal) would otherwise be
// ambiguous between the two above.
inline std::string Str(int value) {
    return Str(int64_t{value});
}

// Upper-cases ASCII letters and the letters of the 8-bit code page; the text is UTF-8.
std::string UCase(std::string_view text);

// Signed 16-bit arithmetic that raises Err::Overflow instead of wrapping.
int16_t add16(int32_t a, int32_t b);
int16_t sub16(int32_t a, int32_t b);
int16_t mul16(int32_t a, int32_t b);
int16_t abs16(int32_t a);
// A 32-bit value narrowed to 16 bits, raising Err::Overflow when it does not fit.
int16_t to16(int64_t value);

// Records in a fixed-length record file of this length: the byte count divided by the record
// length, rounded half to even (a 250-byte file of 165-byte records holds 2).
int16_t record_count(int64_t file_bytes, int64_t record_length);

}  // namespace zeko
