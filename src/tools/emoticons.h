#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The messenger's emoticons: the chart of every picture beside its code, and a typed message
// turned into what the messenger would show.
namespace zeko::tools {

struct Emoticon {
    int16_t image;
    std::string_view code;
};

inline constexpr int kEmoticonCount = 88;
// In image-number order: 1 to 79, then 100 to 108.
extern const std::array<Emoticon, kEmoticonCount> kEmoticons;

// Where the pictures live: the image host's folder of this emoticon set, ending in "/".
std::string default_image_base();

class EmoticonText {
  public:
    explicit EmoticonText(std::string image_base = default_image_base());

    std::string image_url(int image) const;
    // <img src="...">
    std::string image_element(int image) const;

    // The picture for a code of that length, or "" when the text is none; letters match in
    // either case. Each sets the match flag.
    std::string MATCH_CODE4(std::string_view text);
    std::string MATCH_CODE3(std::string_view text);
    std::string MATCH_CODE2(std::string_view text);
    bool matched() const { return match_; }
    void clear_match() { match_ = false; }

    // The chart's markup: a table of eleven rows of eight emoticons.
    std::string BUILD_CHART() const;
    static std::string MSG_HEADER();
    // The header and the message, every code replaced by its picture. The rest of the message
    // is copied unchanged, so markup the player types takes effect on the test page, as it
    // would in the messenger.
    std::string EMOTICON_PARSE(std::string_view message);
    // One test message for the page, under its numbered anchor.
    static std::string wrap_message(int16_t counter, std::string_view converted);

  private:
    std::string match(std::string_view text, size_t length);

    std::string base_;
    bool match_ = false;
};

}  // namespace zeko::tools
