#include "main/program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/errors.h"
#include "main/program_state.h"
#include "support/world.h"

namespace zeko {
namespace {

using testing::read_bytes;
using testing::scrambled_map;
using testing::settings_on_disk;
using testing::ShownBox;
using testing::TestWorld;
using testing::vamp_file;
using testing::write_bytes;

constexpr double kClockSeconds = 21 * 3600 + 30 * 60;  // FixedClock's 21:30:00

// The random number that makes a draw from lo..hi give n.
float value_for(int n, int lo, int hi) {
    return (static_cast<float>(n - lo) + 0.5f) / static_cast<float>(hi - lo + 1);
}

VAMP character(const char* handle, int x, int y) {
    VAMP v;
    v.set_handle(handle);
    v.POS_X = static_cast<int16_t>(x);
    v.POS_Y = static_cast<int16_t>(y);
    return v;
}

TEST(ProgramValues, TogglesTreatOnlyMinusOneAsOn) {
    for (const auto& [start, toggled] : {std::pair{kTrue, kFalse}, {0, kTrue}, {1, kTrue}}) {
        VbBool flag = start;
        TOGGLE_BOOL(flag);
        EXPECT_EQ(flag, toggled) << start;
        flag = start;
        EXPECT_EQ(TOGGLE_CHECK(flag), toggled == kTrue ? 1 : 0) << start;
        EXPECT_EQ(flag, toggled) << start;
    }
}

struct Quit : ::testing::Test, testing::CityWorld {
    Quit() {
        state.map.INIT_NAMES();
        for (int code = 1; code <= 100; ++code)
            state.map.PLACE_NAMES(code) = (code <= 91 ? "Pub " : "Stop ") + std::to_string(code);
        vamp() = character("Orlok", 33, 44);
    }
    // The title QUIT_PROMPT shows with the random source answering these values.
    std::string title_for(std::vector<float> values) {
        world.random.values = std::move(values);
        world.random.pos = 0;
        world.random.seeds.clear();
        world.prompts.shown.clear();
        QUIT_PROMPT(state);
        EXPECT_EQ(world.prompts.shown.size(), 1u);
        return world.prompts.shown.empty() ? "" : world.prompts.shown.back().title;
    }
};

TEST_F(Quit, EveryTitleOfTheTable) {
    // 16 and 17 name a pub or a station, drawn after a second seeding from the clock.
    const char* titles[] = {"Just thought I'd ask...",
                            "Just thought I'd check...",
                            "Just checking...",
                            "Leaving..?",
                            "Leaving so soon?",
                            "Just inquiring...",
                            "Are you sure..?",
                            "You... leave..?",
                            "No stays..?",
                            "... meany...",
                            "You can hold it until recess...",
                            "BACK IN YOUR SEAT!!!",
                            "FINISH YOUR VEGETABLES!!!",
                            "but... I made cookies..?",
                            "... is it something I said..?",
                            "Alright, I'm goin to Pub 1...",
                            "Oh, drop this at Stop 92 Station..?",
                            "FINISH YOUR SUPPER!!!",
                            "You'd stay if I had breasts, wouldn't you!"};
    for (int r = 1; r <= 19; ++r) {
        EXPECT_EQ(title_for({value_for(r, 1, 19), 0.0f}), titles[r - 1]) << r;
        const size_t seeds = r == 16 || r == 17 ? 2 : 1;
        EXPECT_EQ(world.random.seeds, std::vector<double>(seeds, kClockSeconds)) << r;
    }
    // The ends of the generator's range.
    EXPECT_EQ(title_for({0.0f}), titles[0]);
    EXPECT_EQ(title_for({0.99999994f}), titles[18]);
    const float r16 = value_for(16, 1, 19);
    const float r17 = value_for(17, 1, 19);
    EXPECT_EQ(title_for({r16, 0.99999994f}), "Alright, I'm goin to Pub 91...");
    EXPECT_EQ(title_for({r17, 0.5f}), "Oh, drop this at Stop 96 Station..?");
    EXPECT_EQ(title_for({r17, 0.99999994f}), "Oh, drop this at Stop 100 Station..?");
    EXPECT_EQ(world.random.seeds, (std::vector<double>{kClockSeconds, kClockSeconds}));
}

// Answers the question, noting whether both files were already written when it came.
struct CheckingPrompts final : Prompts {
    MsgResult message_box(std::string_view text, MsgButtons buttons, MsgIcon icon,
                          std::string_view title) override {
        shown.push_back({std::string(text), buttons, icon, std::string(title)});
        saved_before = std::filesystem::exists(folder / "SETTINGS.DAT") &&
                       std::filesystem::exists(folder / "VAMP.dat");
        return answer;
    }
    std::string input_box(std::string_view, std::string_view, std::string_view) override {
        return {};
    }
    std::filesystem::path folder;
    MsgResult answer = MsgResult::No;
    std::vector<ShownBox> shown;
    bool saved_before = false;
};

TEST_F(Quit, SavesBothFilesBeforeAskingWhateverTheAnswer) {
    state.db.VAMPS.redim(1, 2);
    state.db.VAMPS(2) = character("Carmilla", 150, 2);
    state.db.VAMP_COUNT = 2;
    state.db.CUR_VAMP = 2;
    state.settings.SETTINGS.LAYOUT = 3;
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        CheckingPrompts prompts;
        prompts.folder = world.folder.path();
        prompts.answer = answer;
        state.services.prompts = &prompts;
        world.random.values = {value_for(4, 1, 19)};
        EXPECT_EQ(QUIT_PROMPT(state), answer);
        EXPECT_TRUE(prompts.saved_before);
        EXPECT_EQ(prompts.shown,
                  (std::vector<ShownBox>{{"Are you sure you want to quit..?", MsgButtons::YesNo,
                                          MsgIcon::Question, "Leaving..?"}}));
        EXPECT_EQ(settings_on_disk(world.folder / "SETTINGS.DAT"), state.settings.SETTINGS);
        EXPECT_EQ(read_bytes(world.folder / "VAMP.dat"),
                  vamp_file({state.db.VAMPS(1), state.db.VAMPS(2)}));
        std::filesystem::remove(world.folder / "SETTINGS.DAT");
        std::filesystem::remove(world.folder / "VAMP.dat");
    }
}

// The window side of the start, recording what it was asked to do and what the data looked
// like at that moment.
class RecordingHooks final : public StartHooks {
  public:
    RecordingHooks(ProgramState& state, testing::FakeCharacterList& list)
        : state_(state), list_(list) {}

    void load_main_window() override {
        note("load");
        state_.db.vamp_list = &list_;
        // The main window's load step reads the list's characters, not the settings.
        vamps_at_load.push_back(state_.db.VAMPS.size());
    }
    void APPLY_SETTINGS() override {
        note("APPLY_SETTINGS");
        layout_at_apply = state_.settings.SETTINGS.LAYOUT;
    }
    void FORCE_LAYOUT(int16_t layout) override { note("FORCE_LAYOUT " + std::to_string(layout)); }
    bool select_first_entry() override {
        note("select");
        if (list_.items.empty()) raise(Err::InvalidCall);
        state_.db.CUR_VAMP = static_cast<int16_t>(list_.items[0].second);
        return true;
    }
    int list_count() override {
        note("count");
        return static_cast<int>(list_.items.size());
    }
    void show_main_window() override { note("show"); }

    std::vector<std::string> calls;
    std::set<std::string> failing;
    std::vector<int> vamps_at_load;
    int layout_at_apply = -99;

  private:
    void note(const std::string& call) {
        calls.push_back(call);
        if (failing.count(call.substr(0, call.find(' ')))) raise(Err::InvalidCall);
    }
    ProgramState& state_;
    testing::FakeCharacterList& list_;
};

struct Start : ::testing::Test {
    Start() {
        world.wire(state.db);
        state.db.vamp_list = nullptr;  // no main window yet
    }

    void write_files() {
        write_bytes(world.folder / "MAP.DAT", scrambled_map({"0040060001Corner Pub"}));
        write_bytes(world.folder / "VAMP.dat",
                    vamp_file({character("Orlok", 33, 44), character("Carmilla", 150, 2)}));
        SETTINGS_REC s;
        s.LAYOUT = 2;
        s.ZOOM = 5;
        const auto rec = encode_settings(s);
        write_bytes(world.folder / "SETTINGS.DAT", std::string(rec.begin(), rec.end()));
    }

    TestWorld world;
    ProgramState state{world.folder.path(), world.services()};
    RecordingHooks hooks{state, world.list};
};

TEST_F(Start, LoadsInOrderThenBringsTheWindowUp) {
    write_files();
    INIT_PROGRAM(state, hooks);

    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"load", "load", "APPLY_SETTINGS",
                                                     "FORCE_LAYOUT 2", "select", "count", "show"}));
    // The window came before the characters, the settings after them.
    EXPECT_EQ(hooks.vamps_at_load, (std::vector<int>{0, 2}));
    EXPECT_EQ(hooks.layout_at_apply, 2);
    EXPECT_EQ(state.map.cell(4, 6), 1);
    EXPECT_EQ(world.list.items.size(), 2u);
    EXPECT_EQ(state.db.CUR_VAMP, 1);
    EXPECT_EQ(world.new_vamp.shown, 0);
    EXPECT_TRUE(world.prompts.shown.empty());
}

TEST_F(Start, AnEmptyListGetsVirtuaVampUnselected) {
    INIT_PROGRAM(state, hooks);
    EXPECT_EQ(world.new_vamp.shown, 1);
    ASSERT_EQ(world.list.items.size(), 1u);
    EXPECT_EQ(world.list.items[0], std::make_pair("VirtuaVAMP" + std::string(39, ' '), 1));
    VAMP virtua = character("VirtuaVAMP", 100, 100);
    EXPECT_EQ(default_vamp(), virtua);
    EXPECT_EQ(read_bytes(world.folder / "VAMP.dat"), vamp_file({virtua}));
    // Selected only by the attempt before the list was filled.
    EXPECT_EQ(std::count(hooks.calls.begin(), hooks.calls.end(), "select"), 1);
    EXPECT_EQ(hooks.calls.back(), "show");
    EXPECT_EQ(state.db.CUR_VAMP, 1);
}

TEST_F(Start, EveryStepFailsOnItsOwn) {
    write_files();
    // A map file too large to load.
    write_bytes(world.folder / "MAP.DAT", std::string(40000, 'x'));
    hooks.failing = {"load", "APPLY_SETTINGS", "FORCE_LAYOUT", "select", "count", "show"};
    INIT_PROGRAM(state, hooks);

    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"load", "load", "APPLY_SETTINGS",
                                                     "FORCE_LAYOUT 2", "select", "count", "show"}));
    EXPECT_EQ(state.db.CUR_VAMP, 1);
    EXPECT_EQ(state.db.VAMP_COUNT, 2);
    EXPECT_EQ(state.settings.SETTINGS.LAYOUT, 2);
    // The failed count kept the default character out.
    EXPECT_EQ(read_bytes(world.folder / "VAMP.dat").size(), 2u * kVampRecordBytes);
}

}  // namespace
}  // namespace zeko
