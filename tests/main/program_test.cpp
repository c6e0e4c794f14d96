#include "main/program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "main/program_state.h"
#include "support/world.h"

namespace zeko::testing {
namespace {

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

struct Quit : ::testing::Test, CityWorld {
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

TEST_F(Quit, TitlesOfTheTable) {
    // 16 and 17 name a pub or a station, drawn after a second seeding from the clock.
    const std::pair<int, const char*> rows[] = {{1, "Just thought I'd ask..."},
                                                {10, "... meany..."},
                                                {16, "Alright, I'm goin to Pub 1..."},
                                                {17, "Oh, drop this at Stop 92 Station..?"},
                                                {19, "You'd stay if I had breasts, wouldn't you!"}};
    for (const auto& [r, title] : rows) {
        EXPECT_EQ(title_for({value_for(r, 1, 19), 0.0f}), title) << r;
        const size_t seeds = r == 16 || r == 17 ? 2 : 1;
        EXPECT_EQ(world.random.seeds, std::vector<double>(seeds, kClockSeconds)) << r;
    }
    // The ends of the generator's range.
    EXPECT_EQ(title_for({0.0f}), "Just thought I'd ask...");
    EXPECT_EQ(title_for({0.99999994f}), "You'd stay if I had breasts, wouldn't you!");
    EXPECT_EQ(title_for({value_for(16, 1, 19), 0.99999994f}), "Alright, I'm goin to Pub 91...");
    EXPECT_EQ(title_for({value_for(17, 1, 19), 0.99999994f}),
              "Oh, drop this at Stop 100 Station..?");
}

TEST_F(Quit, SavesBothFilesWhateverTheAnswer) {
    state.db.VAMPS.redim(1, 2);
    state.db.VAMPS(2) = character("Carmilla", 150, 2);
    state.db.VAMP_COUNT = 2;
    state.db.CUR_VAMP = 2;
    state.settings.SETTINGS.LAYOUT = 3;
    // Saved before the question is asked, so a program killed while it waits loses nothing.
    bool saved_when_asked = false;
    world.prompts.on_show = [&] {
        saved_when_asked = std::filesystem::exists(world.folder / "SETTINGS.DAT") &&
                           std::filesystem::exists(world.folder / "VAMP.dat");
    };
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        world.prompts.answer(answer);
        world.random.values = {value_for(4, 1, 19)};
        saved_when_asked = false;
        EXPECT_EQ(QUIT_PROMPT(state), answer);
        EXPECT_TRUE(saved_when_asked);
        EXPECT_EQ(world.prompts.shown.back(),
                  (ShownBox{"Are you sure you want to quit..?", MsgButtons::YesNo,
                            MsgIcon::Question, "Leaving..?"}));
        EXPECT_EQ(settings_on_disk(world.folder / "SETTINGS.DAT"), state.settings.SETTINGS);
        EXPECT_EQ(read_bytes(world.folder / "VAMP.dat"),
                  vamp_file({state.db.VAMPS(1), state.db.VAMPS(2)}));
        std::filesystem::remove(world.folder / "SETTINGS.DAT");
        std::filesystem::remove(world.folder / "VAMP.dat");
    }
}

// The window side of the start, recording what it was asked to do, and what the data looked
// like when the window loaded and when the settings were applied.
class RecordingHooks final : public StartHooks {
  public:
    RecordingHooks(ProgramState& state, FakeCharacterList& list) : state_(state), list_(list) {}

    void load_main_window() override {
        note("load " + std::to_string(state_.db.VAMPS.size()));
        state_.db.vamp_list = &list_;
    }
    void APPLY_SETTINGS() override {
        note("APPLY_SETTINGS " + std::to_string(state_.settings.SETTINGS.LAYOUT));
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
    bool failing = false;

  private:
    void note(const std::string& call) {
        calls.push_back(call);
        if (failing) raise(Err::InvalidCall);
    }
    ProgramState& state_;
    FakeCharacterList& list_;
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
        const auto rec = encode_settings(s);
        write_bytes(world.folder / "SETTINGS.DAT", std::string(rec.begin(), rec.end()));
    }

    TestWorld world;
    ProgramState state{world.folder.path(), world.services()};
    RecordingHooks hooks{state, world.list};
};

TEST_F(Start, LoadsInOrderThenBringsTheWindowUpEvenWhenEveryStepFails) {
    // The window comes before the characters, the settings after them. Each step fails on its
    // own (a map file too large to load too): the rest still runs.
    for (bool failing : {true, false}) {
        SCOPED_TRACE(failing);
        write_files();
        if (failing) write_bytes(world.folder / "MAP.DAT", std::string(40000, 'x'));
        hooks.calls.clear();
        hooks.failing = failing;
        INIT_PROGRAM(state, hooks);
        EXPECT_EQ(hooks.calls,
                  (std::vector<std::string>{"load 0", "load 2", "APPLY_SETTINGS 2",
                                            "FORCE_LAYOUT 2", "select", "count", "show"}));
        EXPECT_EQ(state.map.cell(4, 6), failing ? 0 : 1);
        EXPECT_EQ(state.db.CUR_VAMP, 1);
        EXPECT_EQ(state.db.VAMP_COUNT, 2);
        // A failed count keeps the default character out.
        EXPECT_EQ(read_bytes(world.folder / "VAMP.dat").size(), 2u * kVampRecordBytes);
        EXPECT_EQ(world.new_vamp.shown, 0);
        EXPECT_TRUE(world.prompts.shown.empty());
        state.db.VAMPS.redim(1, 0);
    }
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

}  // namespace
}  // namespace zeko::testing
