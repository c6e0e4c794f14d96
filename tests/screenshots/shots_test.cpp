#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "main/program_state.h"
#include "screenshots/bitmap_file.h"
#include "screenshots/code_screenshot.h"
#include "screenshots/page_dump.h"
#include "screenshots/shot_names.h"
#include "support/failing_files.h"
#include "support/fakes.h"

namespace zeko::testing {
namespace {

namespace fs = std::filesystem;

const LocalDateTime kDay{2026, 12, 5, 14, 0, 0, 0};

PIC_CONFIG pic(const std::string& header, int16_t date_format = 7) {
    PIC_CONFIG p;
    p.set_header(header);
    p.DATE_FORMAT = date_format;
    return p;
}

std::vector<std::string> names_in(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ShotNames, EachDatePatternAndTheNameRule) {
    const std::pair<int16_t, const char*> dates[] = {
        {0, "12-05-2026"}, {2, "2026-12-05"}, {5, "12.05.26"}, {8, "26.12.05"}, {-1, "26.12.05"}};
    for (const auto& [pattern, text] : dates)
        EXPECT_EQ(FORMAT_DATE(pattern, kDay), text) << pattern;
    EXPECT_EQ(FORMAT_DATE(3, {2009, 1, 31}), "09-01-31");

    const auto defaults = default_pic_configs();
    EXPECT_EQ(SHOT_NAME(defaults[0], kSnapShot, kDay, 0), "ZEKO2_SNAPSHOT - 26.12.05 - 0000.BMP");
    EXPECT_EQ(SHOT_NAME(defaults[1], kHtmlCssDump, kDay, 37),
              "ZEKO2_HTML&CSS_DUMP - 26.12.05 - 0037.HTML");
    EXPECT_EQ(SHOT_NAME(pic(""), kHtmlDump, kDay, 0), " - 26.12.05 - 0000.HTML");
    PIC_CONFIG cut = pic("ZEKO2_SNAPSHOT", 2);
    cut.HEADER_LEN = 5;
    EXPECT_EQ(SHOT_NAME(cut, kSnapShot, kDay, 1), "ZEKO2 - 2026-12-05 - 0001.BMP");
}

TEST(ShotNames, OnlyRecordsNeverSetUpAreToldAboutAndTakeTheDefaults) {
    // Headers with the first date pattern (0) were set up; all lengths and patterns 0 were not.
    const std::array<PIC_CONFIG, 3> set_up = {pic("A", 0), pic("B", 0), pic("C", 0)};
    for (const auto& [given, blank] :
         {std::pair{set_up, false}, {std::array<PIC_CONFIG, 3>{}, true}}) {
        ScriptedPrompts prompts;
        auto work = given;
        EXPECT_EQ(CHECK_SETTINGS(work, &prompts), blank);
        EXPECT_TRUE(work == (blank ? default_pic_configs() : given));
        EXPECT_EQ(prompts.shown.size(), blank ? 1u : 0u);
    }
}

class ShotFiles : public ::testing::Test {
  protected:
    std::string write(const PIC_CONFIG& p, const std::string& bytes = "x") {
        ShotResult r =
            write_new_shot(posix_files(), world.folder.path(), p, kSnapShot, world.clock, bytes);
        EXPECT_EQ(r.outcome, ShotOutcome::Written) << r.reason;
        EXPECT_EQ(read_bytes(r.path), bytes);
        return r.path.filename().string();
    }
    TestWorld world;
    PIC_CONFIG shot = default_pic_configs()[0];
};

TEST_F(ShotFiles, TakeTheFirstFreeNumberOfTheDayAndNeverReplaceAFile) {
    world.clock.time = kDay;
    write_bytes(world.folder / "ZEKO2_SNAPSHOT - 26.12.05 - 0000.BMP", "old 0");
    write_bytes(world.folder / "ZEKO2_SNAPSHOT - 26.12.05 - 0002.BMP", "old 2");
    EXPECT_EQ(write(shot, "new a"), "ZEKO2_SNAPSHOT - 26.12.05 - 0001.BMP");
    EXPECT_EQ(write(shot, "new b"), "ZEKO2_SNAPSHOT - 26.12.05 - 0003.BMP");
    EXPECT_EQ(read_bytes(world.folder / "ZEKO2_SNAPSHOT - 26.12.05 - 0000.BMP"), "old 0");
    EXPECT_EQ(read_bytes(world.folder / "ZEKO2_SNAPSHOT - 26.12.05 - 0002.BMP"), "old 2");
    // A new day, or another pattern, starts its own series.
    world.clock.time.day = 6;
    EXPECT_EQ(write(shot), "ZEKO2_SNAPSHOT - 26.12.06 - 0000.BMP");
    EXPECT_EQ(write(pic("ZEKO2_SNAPSHOT", 2)), "ZEKO2_SNAPSHOT - 2026-12-06 - 0000.BMP");
    // No scratch file stays behind.
    EXPECT_EQ(names_in(world.folder.path()).size(), 6u);
}

// Makes the file of the next number as the writer reads the clock for it, as another program
// writing at the same moment would.
class RacingClock final : public Clock {
  public:
    RacingClock(fs::path folder, PIC_CONFIG pic) : folder_(std::move(folder)), pic_(pic) {}
    LocalDateTime now() override {
        if (calls < 3) write_bytes(folder_ / SHOT_NAME(pic_, kSnapShot, kDay, calls), "theirs");
        ++calls;
        return kDay;
    }
    int calls = 0;

  private:
    fs::path folder_;
    PIC_CONFIG pic_;
};

// A file system without hard links (FAT, exFAT), and one that cannot even rename without
// replacing.
void without_links(FailingFiles& files, bool safe_renames) {
    files.fail(FileOp::Link, 1, EPERM, {}, -1);
    if (!safe_renames) files.fail(FileOp::RenameNew, 1, EINVAL, {}, -1);
}

TEST_F(ShotFiles, AFileMadeWhileWritingIsNotReplaced) {
    FailingFiles no_links, no_safe_renames;
    without_links(no_links, true);
    without_links(no_safe_renames, false);
    FileLayer* const layers[] = {&posix_files(), &no_links, &no_safe_renames};
    for (FileLayer* files : layers) {
        TempFolder folder;
        RacingClock racing(folder.path(), shot);
        ShotResult r = write_new_shot(*files, folder.path(), shot, kSnapShot, racing, "mine");
        // Numbers 0 to 2 were each taken just before they were tried.
        EXPECT_EQ(r.path.filename(), "ZEKO2_SNAPSHOT - 26.12.05 - 0003.BMP");
        EXPECT_EQ(read_bytes(r.path), "mine");
        for (int n = 0; n < 3; ++n)
            EXPECT_EQ(read_bytes(folder / SHOT_NAME(shot, kSnapShot, kDay, n)), "theirs");
        EXPECT_EQ(names_in(folder.path()).size(), 4u);
    }
}

TEST_F(ShotFiles, AShotKilledMidWriteLeavesNoPartOfItselfWithoutHardLinksEither) {
    world.clock.time = kDay;
    const std::string picture = "a whole picture";
    for (bool safe_renames : {true, false}) {
        for (int killed_at : {1, 2}) {
            // The bytes of that write stop half-way and nothing tidies up after them; the next
            // shot finds what was left.
            TempFolder folder;
            FailingFiles killed, files;
            without_links(killed, safe_renames);
            killed.fail(FileOp::Write, killed_at, EIO, {}, 1, 4)
                .fail(FileOp::Remove, 1, EIO, {}, -1);
            write_new_shot(killed, folder.path(), shot, kSnapShot, world.clock, picture);
            without_links(files, safe_renames);
            EXPECT_EQ(
                write_new_shot(files, folder.path(), shot, kSnapShot, world.clock, picture).outcome,
                ShotOutcome::Written);
            for (const std::string& name : names_in(folder.path()))
                EXPECT_EQ(read_bytes(folder / name), picture)
                    << name << ", killed at " << killed_at;
        }
    }
}

TEST_F(ShotFiles, ScratchFilesOfShotsCutShortGoButOneStillBeingWrittenStays) {
    write_bytes(world.folder / ".zeko-shot-cut001", "cut");
    // A shot whose header begins like a scratch file's name is no scratch file.
    const std::string look_alike = SHOT_NAME(pic(".zeko-shot-"), kSnapShot, kDay, 0);
    write_bytes(world.folder / look_alike, "a shot");
    const fs::path busy = world.folder / ".zeko-shot-busy01";
    const int fd = ::open(busy.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    const std::string written = write(shot);
    EXPECT_EQ(names_in(world.folder.path()),
              (std::vector<std::string>{look_alike, ".zeko-shot-busy01", written}));
    ::close(fd);
}

TEST_F(ShotFiles, TheLastNumberIsUsedThenAFullDayWritesNothingAndGivesTheReason) {
    world.clock.time = kDay;
    for (int n = 0; n < kLastShotNumber; ++n)
        write_bytes(world.folder / SHOT_NAME(shot, kSnapShot, kDay, n), "");
    EXPECT_EQ(write(shot, "last"), "ZEKO2_SNAPSHOT - 26.12.05 - 9999.BMP");
    ShotResult r =
        write_new_shot(posix_files(), world.folder.path(), shot, kSnapShot, world.clock, "x");
    EXPECT_EQ(r.outcome, ShotOutcome::AllNamesTaken);
    EXPECT_EQ(r.reason,
              "All 10,000 names of today for the Snap Shot are taken, up to \"ZEKO2_SNAPSHOT - "
              "26.12.05 - 9999.BMP\". Nothing was written; please move older files out of the "
              "program's folder or change the header.");
    EXPECT_EQ(names_in(world.folder.path()).size(), 10000u);
    EXPECT_EQ(read_bytes(world.folder / SHOT_NAME(shot, kSnapShot, kDay, 9999)), "last");
}

TEST_F(ShotFiles, AHeaderThatLeavesTheFolderOrCannotBeNamedWritesNothing) {
    const fs::path inner = world.folder / "program";
    fs::create_directory(inner);
    ProgramState state(inner, world.services());
    // Headers as the settings file may hold them: separators, and control characters, which
    // file names could never hold.
    const std::pair<std::string, std::string> cases[] = {
        {"../escape", "\"/\""},
        {"..\\up", "\"\\\""},
        {std::string("nul\0x", 5), "NUL (character code 0)"},
        {"two\r\nlines", "CR (character code 13)"},
        {"tab\there", "TAB (character code 9)"},
        {"unit\x1F", "US (character code 31)"},
        {"rub\x7Fout", "DEL (character code 127)"},
    };
    for (const auto& [header, shown] : cases) {
        world.prompts.shown.clear();
        state.settings.SETTINGS.PIC[kHtmlDump] = pic(header);
        ShotResult r = CodeScreenshot(state).SNAPSHOT_HTML("x");
        EXPECT_EQ(r.outcome, ShotOutcome::RefusedHeader) << header;
        const std::string text = "The HTML Dump header contains the character " + shown +
                                 ", which cannot be part of a file name: screen shots are always "
                                 "written into the program's folder. Nothing was written; please "
                                 "change the header under File, Screen Shot Config.";
        EXPECT_EQ(r.reason, text);
        EXPECT_EQ(world.prompts.shown,
                  (std::vector<ShownBox>{
                      {text, MsgButtons::OK, MsgIcon::Exclamation, "Not a file name..."}}));
    }
    EXPECT_EQ(names_in(world.folder.path()), std::vector<std::string>{"program"});
    EXPECT_TRUE(fs::is_empty(inner));
}

TEST_F(ShotFiles, AFailedWriteIsReportedAndLeavesNoFile) {
    ProgramState state(world.folder / "gone", world.services());
    ShotResult r = CodeScreenshot(state).SNAPSHOT_HTML("<BODY></BODY>");
    EXPECT_EQ(r.outcome, ShotOutcome::Failed);
    EXPECT_EQ(r.reason,
              "The HTML Dump could not be written into the program's folder (No such file or "
              "directory). Nothing was saved.");
    ASSERT_EQ(world.prompts.shown.size(), 1u);
    EXPECT_EQ(world.prompts.shown[0].title, "Screen shot not written...");
    EXPECT_FALSE(fs::exists(world.folder / "gone"));
}

TEST_F(ShotFiles, DumpsAreTheExactBytesOfTheirPieces) {
    ProgramState state(world.folder.path(), world.services());
    state.settings.SETTINGS.PIC = default_pic_configs();
    state.game_url_override = "http://127.0.0.1:18080/blood.pl?action=welcome";
    world.clock.time = kDay;
    const std::string body = "<BODY>Caf\xC3\xA9 \xE2\x82\xAC\r\n<P>x</P></BODY>";
    CodeScreenshot code(state);

    ShotResult plain = code.SNAPSHOT_HTML(body);
    EXPECT_EQ(plain.path.filename(), "ZEKO2_HTML_DUMP - 26.12.05 - 0000.HTML");
    EXPECT_EQ(read_bytes(plain.path),
              "<HTML>\r\n<HEAD>\r\n<TITLE>Vampires! The Dark Alleyway</TITLE>\r\n"
              "<LINK REL=\"stylesheet\" TYPE=\"text/css\" "
              "HREF=\"http://127.0.0.1:18080/blood.css\" /></head>\r\n"
              "<BODY>Caf\xE9 \x80\r\n<P>x</P></BODY>\r\n</HTML>");

    // The styled dump carries its own style sheet instead of the site's.
    const std::string styled = read_bytes(code.SNAPSHOT_HTML_CSS(body).path);
    EXPECT_EQ(styled.rfind("<HTML>\r\n<HEAD>\r\n<TITLE>Vampires! The Dark Alleyway</TITLE>\r\n"
                           "<STYLE type = \"text/CSS\">\r\nBODY { background-color:#000000; }",
                           0),
              0u);
    EXPECT_EQ(styled.find("blood.css"), std::string::npos);
    EXPECT_TRUE(world.prompts.shown.empty());
}

uint32_t field(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    return v;
}

TEST(BitmapFile, HeadersAndBottomUpPaddedRows) {
    // 3 x 2 pixels, top row red green blue, bottom row white black grey; rows 10 bytes apart.
    const std::vector<uint8_t> rgb = {255, 0,   0,   0, 255, 0, 0,   0,   255, 9,
                                      255, 255, 255, 0, 0,   0, 128, 128, 128, 9};
    const std::string b = encode_bmp(3, 2, rgb, 10);
    ASSERT_EQ(b.size(), 54u + 2 * 12);
    EXPECT_EQ(b.substr(0, 2), "BM");
    const std::pair<size_t, uint32_t> fields[] = {{2, 78}, {10, 54}, {14, 40},   {18, 3},
                                                  {22, 2}, {34, 24}, {38, 3780}, {42, 3780}};
    for (const auto& [at, value] : fields)
        EXPECT_EQ(field(b, at, 4), value) << at;
    EXPECT_EQ(field(b, 26, 4), 1u | 24u << 16);
    EXPECT_EQ(b.substr(54), std::string("\xFF\xFF\xFF\0\0\0\x80\x80\x80\0\0\0"
                                        "\0\0\xFF\0\xFF\0\xFF\0\0\0\0\0",
                                        24));
    // Sizes that do not describe the pixels, also where stride times rows passes 2^64.
    const std::tuple<int, int, size_t> refused[] = {
        {0, 2, 10}, {3, 3, 10}, {40000, 40000, 10}, {1, 3, (size_t{1} << 63) + 4}};
    for (const auto& [w, h, stride] : refused)
        EXPECT_EQ(encode_bmp(w, h, rgb, stride), "") << w << "x" << h << " " << stride;
}

}  // namespace
}  // namespace zeko::testing
