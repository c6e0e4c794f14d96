#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/services.h"
#include "map/settings.h"

namespace zeko {

class Prompts;

// The three kinds of screen-shot file, by their index in SETTINGS.PIC.
inline constexpr int kSnapShot = 0;
inline constexpr int kHtmlCssDump = 1;
inline constexpr int kHtmlDump = 2;

// Each day's numbers run from 0000 to this.
inline constexpr int kLastShotNumber = 9999;

// The pattern a naming record's DATE_FORMAT stands for. The settings file can hold any
// number there; one outside the list takes the default pattern rather than failing.
int16_t date_pattern_index(int16_t date_format);

// The date in a pattern of DATE_FORMATS ("MM", "DD", "YYYY", "YY"; "-" and "." as they stand).
std::string FORMAT_DATE(int16_t date_format, const LocalDateTime& when);

// ".BMP" for the snap shot, ".HTML" for the dumps.
std::string_view shot_extension(int kind);

// header - date - number.extension, the header being the record's first HEADER_LEN
// characters (UTF-8).
std::string SHOT_NAME(const PIC_CONFIG& pic, int kind, const LocalDateTime& when, int number);

// The factory naming records of the three kinds.
std::array<PIC_CONFIG, 3> default_pic_configs();

// LOAD_DEFAULTS on a working copy.
void LOAD_DEFAULTS(std::array<PIC_CONFIG, 3>& work);

// Records that were never set up (every length and pattern 0) are told about and replaced by
// the defaults. True when the defaults were loaded.
bool CHECK_SETTINGS(std::array<PIC_CONFIG, 3>& work, Prompts* prompts);

// The header becomes part of a path inside the program's folder, so it must not hold a
// folder separator or a control character (codes 0 to 31 and 127). Empty when the header can be
// used, else the character refused as the player should read it.
std::string refused_header_character(std::string_view header_utf8);

// The box that says why a header was refused: in the settings window (`typed`), or for a shot
// whose stored header cannot be used.
inline constexpr std::string_view kRefusedHeaderTitle = "Not a file name...";
std::string refused_header_text(int kind, std::string_view character, bool typed);

// What each kind is called in the settings window and in the boxes.
std::string_view shot_kind_label(int kind);

}  // namespace zeko
