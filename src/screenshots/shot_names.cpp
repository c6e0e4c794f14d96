#include "screenshots/shot_names.h"

#include <cstdio>
#include <string>

#include "common/prompts.h"
#include "main/program.h"

namespace zeko {

namespace {

constexpr int16_t kDefaultDateFormat = 7;

std::string digits(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

}  // namespace

int16_t date_pattern_index(int16_t date_format) {
    if (date_format < 0 || date_format >= static_cast<int16_t>(DATE_FORMATS.size()))
        return kDefaultDateFormat;
    return date_format;
}

std::string FORMAT_DATE(int16_t date_format, const LocalDateTime& when) {
    const std::string_view pattern =
        DATE_FORMATS[static_cast<size_t>(date_pattern_index(date_format))];
    std::string out;
    for (size_t i = 0; i < pattern.size();) {
        const std::string_view rest = pattern.substr(i);
        if (rest.starts_with("YYYY")) {
            out += digits(when.year, 4);
            i += 4;
        } else if (rest.starts_with("YY")) {
            out += digits(((when.year % 100) + 100) % 100, 2);
            i += 2;
        } else if (rest.starts_with("MM")) {
            out += digits(when.month, 2);
            i += 2;
        } else if (rest.starts_with("DD")) {
            out += digits(when.day, 2);
            i += 2;
        } else {
            out += pattern[i];
            ++i;
        }
    }
    return out;
}

std::string_view shot_extension(int kind) {
    return kind == kSnapShot ? ".BMP" : ".HTML";
}

std::string SHOT_NAME(const PIC_CONFIG& pic, int kind, const LocalDateTime& when, int number) {
    return pic.header() + " - " + FORMAT_DATE(pic.DATE_FORMAT, when) + " - " + digits(number, 4) +
           std::string(shot_extension(kind));
}

std::array<PIC_CONFIG, 3> default_pic_configs() {
    std::array<PIC_CONFIG, 3> pics;
    const char* const headers[3] = {"ZEKO2_SNAPSHOT", "ZEKO2_HTML&CSS_DUMP", "ZEKO2_HTML_DUMP"};
    for (size_t i = 0; i < pics.size(); ++i) {
        pics[i].set_header(headers[i]);
        pics[i].DATE_FORMAT = kDefaultDateFormat;
    }
    return pics;
}

void LOAD_DEFAULTS(std::array<PIC_CONFIG, 3>& work) {
    work = default_pic_configs();
}

bool CHECK_SETTINGS(std::array<PIC_CONFIG, 3>& work, Prompts* prompts) {
    for (const PIC_CONFIG& pic : work)
        if (pic.HEADER_LEN != 0 || pic.DATE_FORMAT != 0) return false;
    if (prompts != nullptr)
        prompts->message_box(
            "It appears that image settings have not previously been configured; "
            "Z.E.K.O.\xC2\xB2 will load defaults.",
            MsgButtons::OK, MsgIcon::Information, "Interesting...");
    LOAD_DEFAULTS(work);
    return true;
}

std::string refused_header_character(std::string_view header_utf8) {
    // Control characters (line breaks, tabs) never had a place in a file name either; they are
    // named as the player may know them. UTF-8 sequences use only bytes from 128 up.
    constexpr std::array<std::string_view, 32> kControlNames = {
        "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "TAB", "LF",
        "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
        "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    constexpr unsigned char kDelete = 127;
    for (char c : header_utf8) {
        if (c == '/') return "/";
        if (c == '\\') return "\\";
        const unsigned char code = static_cast<unsigned char>(c);
        if (code < kControlNames.size() || code == kDelete)
            return std::string(code == kDelete ? "DEL" : kControlNames[code]) +
                   " (character code " + std::to_string(code) + ")";
    }
    return {};
}

std::string_view shot_kind_label(int kind) {
    switch (kind) {
        case kSnapShot:
            return "Snap Shot";
        case kHtmlCssDump:
            return "HTML & CSS Dump";
        default:
            return "HTML Dump";
    }
}

std::string refused_header_text(int kind, std::string_view character, bool typed) {
    const std::string shown =
        character.size() == 1 ? "\"" + std::string(character) + "\"" : std::string(character);
    return "The " + std::string(shot_kind_label(kind)) + " header contains the character " + shown +
           ", which cannot be part of a file name: screen shots are always written into the "
           "program's folder. " +
           (typed ? "Please remove it and try again."
                  : "Nothing was written; please change the header under File, Screen Shot "
                    "Config.");
}

}  // namespace zeko
