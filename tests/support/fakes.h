#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "common/prompts.h"
#include "common/services.h"
#include "map/vamp_db.h"

namespace zeko::testing {

// One box the code under test showed.
struct ShownBox {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
    bool operator==(const ShownBox&) const = default;
};

// Records every box and answers from a script (OK, or the first button, when the script is
// empty).
class ScriptedPrompts final : public Prompts {
  public:
    MsgResult message_box(std::string_view text, MsgButtons buttons, MsgIcon icon,
                          std::string_view title) override;
    std::string input_box(std::string_view prompt, std::string_view title,
                          std::string_view default_text) override;

    void answer(MsgResult r) { answers.push_back(r); }
    void type(std::string text) { typed.push_back(std::move(text)); }

    std::vector<ShownBox> shown;
    // Runs as each box is shown, to look at the world at that moment.
    std::function<void()> on_show;
    std::vector<std::string> input_prompts;
    std::deque<MsgResult> answers;
    std::deque<std::string> typed;
};

class FixedClock final : public Clock {
  public:
    LocalDateTime now() override { return time; }
    LocalDateTime time{2026, 12, 6, 21, 30, 0, 0};
};

// Answers a fixed sequence of numbers, cycling.
class ScriptedRandom final : public RandomSource {
  public:
    void seed(double value) override { seeds.push_back(value); }
    float next() override { return values.empty() ? 0.0f : values[pos++ % values.size()]; }
    std::vector<float> values;
    std::vector<double> seeds;
    size_t pos = 0;
};

class FixedScreen final : public Screen {
  public:
    int32_t width_twips() override { return width; }
    int32_t height_twips() override { return height; }
    int32_t width = 1920 * 15;
    int32_t height = 1080 * 15;
};

class FakeCharacterList final : public CharacterList {
  public:
    void clear() override {
        items.clear();
        ++clears;
    }
    void add_item(std::string_view text, int32_t item_data) override {
        items.emplace_back(std::string(text), item_data);
    }
    std::vector<std::pair<std::string, int32_t>> items;
    int clears = 0;
};

// Counts its showings and runs an optional action while "open" (as the real dialog would
// create a character).
class FakeNewCharacterDialog final : public NewCharacterDialog {
  public:
    void show_modal() override {
        ++shown;
        if (on_show) on_show();
    }
    int shown = 0;
    std::function<void()> on_show;
};

// A fresh temporary folder, removed with everything in it at the end of the test.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

// A program state in its own temporary folder, wired to scripted services.
struct TestWorld {
    TempFolder folder;
    ScriptedPrompts prompts;
    FixedClock clock;
    ScriptedRandom random;
    FixedScreen screen;
    FakeCharacterList list;
    FakeNewCharacterDialog new_vamp;
    Services services() { return Services{&prompts, &clock, &random, &screen}; }
    // Lets the database fill the scripted list and offer the scripted dialog.
    void wire(VampDb& db) {
        db.vamp_list = &list;
        db.new_vamp_dialog = &new_vamp;
    }
};

// The number of the error `step` raises, 0 when it raises none.
int error_of(const std::function<void()>& step);

// Whole-file helpers for checking what was written byte for byte.
std::string read_bytes(const std::filesystem::path& path);
void write_bytes(const std::filesystem::path& path, std::string_view bytes);

// A map file made from plain records ("xxxyyycodeName" each), scrambled as the loader expects.
std::string scrambled_map(const std::vector<std::string>& records);

}  // namespace zeko::testing
