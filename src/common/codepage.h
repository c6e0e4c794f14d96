#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zeko {

// Every text the program keeps in a file is one byte per character in Windows-1252. In memory
// texts are UTF-8; these convert between the two. The five bytes that Windows-1252 leaves
// unassigned (81, 8D, 8F, 90, 9D) map to the control characters of the same number, so that
// any byte survives a round trip.

// UTF-8 to Windows-1252: a character the code page cannot hold becomes "?", and so does an
// invalid UTF-8 sequence (one "?" per bad byte).
std::string to_cp1252(std::string_view utf8);
// Windows-1252 to UTF-8.
std::string from_cp1252(std::string_view bytes);
// The number of characters a UTF-8 text has, which is the number of bytes it takes on disk.
size_t char_count(std::string_view utf8);

// A fixed-width 8-bit text field: the text in the code page, cut to width or padded with
// blanks.
std::string to_fixed_field(std::string_view utf8, size_t width);
// The length byte that goes with a text: its length as typed, at most 255.
uint8_t length_byte(std::string_view utf8);
// What a reader of a fixed field sees: the first `length` characters of the field (fewer when
// the field is shorter), as UTF-8.
std::string read_fixed_field(std::string_view field, uint8_t length);

// The same for a record's text field and its length byte.
template <size_t N>
void assign_fixed(std::array<char, N>& field, uint8_t& length, std::string_view utf8) {
    const std::string fixed = to_fixed_field(utf8, N);
    std::copy_n(fixed.begin(), N, field.begin());
    length = length_byte(utf8);
}

template <size_t N>
std::string read_fixed(const std::array<char, N>& field, uint8_t length) {
    return read_fixed_field(std::string_view(field.data(), N), length);
}

}  // namespace zeko
