#include "web_text.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>

namespace zeko::sandbox {

namespace {

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

char lower_ascii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view trim_blanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool continuation(std::string_view text, size_t pos, uint8_t low = 0x80, uint8_t high = 0xBF) {
    if (pos >= text.size()) return false;
    const auto b = static_cast<uint8_t>(text[pos]);
    return b >= low && b <= high;
}

// Length of the valid UTF-8 sequence at pos, or 0.
size_t utf8_sequence(std::string_view text, size_t pos) {
    const auto b = static_cast<uint8_t>(text[pos]);
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return continuation(text, pos + 1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const uint8_t low = b == 0xE0 ? 0xA0 : 0x80;
        const uint8_t high = b == 0xED ? 0x9F : 0xBF;
        return continuation(text, pos + 1, low, high) && continuation(text, pos + 2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const uint8_t low = b == 0xF0 ? 0x90 : 0x80;
        const uint8_t high = b == 0xF4 ? 0x8F : 0xBF;
        return continuation(text, pos + 1, low, high) && continuation(text, pos + 2) &&
                       continuation(text, pos + 3)
                   ? 4
                   : 0;
    }
    return 0;
}

}  // namespace

std::string html_escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string comment_escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '-' && !out.empty() && out.back() == '-') out += ' ';
        out += c;
    }
    if (!out.empty() && out.back() == '-') out += ' ';
    return out;
}

std::string script_string_escape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '"':
            case '\\':
                out += '\\';
                out += c;
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '/':
            case '!':
                if (!out.empty() && out.back() == '<') out += '\\';
                out += c;
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string percent_decode(std::string_view text, bool plus_as_space) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '%' && i + 2 < text.size() && hex_digit(text[i + 1]) >= 0 &&
            hex_digit(text[i + 2]) >= 0) {
            out += static_cast<char>(hex_digit(text[i + 1]) * 16 + hex_digit(text[i + 2]));
            i += 2;
        } else if (c == '+' && plus_as_space) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::string percent_encode_unsafe(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        const auto b = static_cast<uint8_t>(c);
        if (b <= 0x20 || b == 0x7F || c == '%') {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

std::string printable_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<uint8_t>(text[i]);
        const size_t n = utf8_sequence(text, i);
        if (n == 0 || b < 0x20 || b == 0x7F) {
            out += '?';
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

Form parse_form(std::string_view body) {
    Form form;
    while (!body.empty()) {
        const size_t amp = body.find('&');
        const std::string_view pair = body.substr(0, amp);
        body = amp == std::string_view::npos ? std::string_view{} : body.substr(amp + 1);
        if (pair.empty()) continue;
        const size_t eq = pair.find('=');
        const std::string_view key = pair.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view{} : pair.substr(eq + 1);
        form.emplace_back(percent_decode(key, true), percent_decode(value, true));
    }
    return form;
}

std::optional<std::string> form_value(const Form& form, std::string_view key) {
    for (const auto& [k, v] : form) {
        if (k == key) return v;
    }
    return std::nullopt;
}

std::optional<std::string> cookie_value(std::string_view header, std::string_view name) {
    while (!header.empty()) {
        const size_t semi = header.find(';');
        const std::string_view item = trim_blanks(header.substr(0, semi));
        header = semi == std::string_view::npos ? std::string_view{} : header.substr(semi + 1);
        const size_t eq = item.find('=');
        if (eq == std::string_view::npos) continue;
        if (trim_blanks(item.substr(0, eq)) != name) continue;
        std::string_view value = trim_blanks(item.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::nullopt;
}

std::optional<int> parse_int(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    if (text.empty()) return std::nullopt;
    int value = 0;
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, value);
    if (ec != std::errc{} || ptr != last) return std::nullopt;
    return value;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower_ascii(a[i]) != lower_ascii(b[i])) return false;
    }
    return true;
}

std::optional<std::string> read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace zeko::sandbox
