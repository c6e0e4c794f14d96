#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "common/errors.h"
#include "common/files.h"
#include "map/vamp_db.h"
#include "support/world.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using Db = testing::DbWorld;
using testing::error_box;
using testing::read_bytes;
using testing::ShownBox;
using testing::vamp_bytes;
using testing::vamp_file;
using testing::write_bytes;

VAMP make(std::string_view handle, std::string_view name = "Name", std::string_view password = "pw",
          VbBool deleted = kFalse) {
    VAMP v;
    v.set_handle(handle);
    v.set_name(name);
    v.set_password(password);
    v.DELETED = deleted;
    return v;
}

unsigned mode_of(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 07777;
}

std::string padded(std::string_view handle) {
    return std::string(handle) + std::string(49 - handle.size(), ' ');
}

TEST(VampDb, FirstStartOffersTheDialogOnceAndLoadsWhatItCreated) {
    Db t;
    int16_t created = -1;
    t.w.new_vamp.on_show = [&] {
        // The dialog runs while LOAD_DB waits: it finds the file closed and writable.
        created = t.db.CREATE_DB(make("Vlad"));
    };
    t.db.LOAD_DB();
    EXPECT_EQ(t.w.new_vamp.shown, 1);
    EXPECT_TRUE(t.db.CREATE_OFFERED);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(t.db.VAMP_COUNT, 1);
    EXPECT_EQ(t.db.VAMPS(1), make("Vlad"));
    using Items = std::vector<std::pair<std::string, int32_t>>;
    EXPECT_EQ(t.w.list.items, (Items{{padded("Vlad"), 1}}));
    EXPECT_EQ(read_bytes(t.dat()), vamp_bytes(make("Vlad")));
    EXPECT_EQ(mode_of(t.dat()), 0600u);
    EXPECT_FALSE(fs::exists(t.scratch()));
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, CancelledFirstStartLeavesAnEmptyPrivateFileAndNoSecondOffer) {
    Db t;
    t.db.LOAD_DB();
    EXPECT_EQ(t.w.new_vamp.shown, 1);
    EXPECT_EQ(t.db.VAMP_COUNT, 0);
    EXPECT_TRUE(t.w.list.items.empty());
    EXPECT_EQ(t.w.list.clears, 0);
    ASSERT_TRUE(fs::exists(t.dat()));
    EXPECT_EQ(fs::file_size(t.dat()), 0u);
    EXPECT_EQ(mode_of(t.dat()), 0600u);

    t.db.LOAD_DB();
    EXPECT_EQ(t.w.new_vamp.shown, 1);

    // 82 bytes round to no record at all.
    write_bytes(t.dat(), std::string(82, 'x'));
    t.db.LOAD_DB();
    EXPECT_EQ(t.db.VAMP_COUNT, 0);
    EXPECT_EQ(t.w.new_vamp.shown, 1);
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, WithoutADialogTheOfferStillCounts) {
    Db t;
    t.services.new_vamp_dialog = nullptr;
    t.services.vamp_list = nullptr;
    t.db.LOAD_DB();
    EXPECT_TRUE(t.db.CREATE_OFFERED);
    EXPECT_EQ(t.db.VAMP_COUNT, 0);
    t.start_with({make("A"), make("B")});
    EXPECT_EQ(t.db.VAMP_COUNT, 2);
    EXPECT_EQ(t.db.VAMPS(2).handle(), "B");
}

TEST(VampDb, LoadFillsTheListWithWholeHandlesAndRecordIndexes) {
    Db t;
    t.start_with({make("Vlad"), make("Zoë", "Zoë"), make("Carmilla")});
    EXPECT_EQ(t.w.new_vamp.shown, 0);
    EXPECT_FALSE(t.db.CREATE_OFFERED);
    ASSERT_EQ(t.db.VAMP_COUNT, 3);
    EXPECT_EQ(t.db.VAMPS.ubound(), 3);
    EXPECT_EQ(t.db.VAMPS(2).name(), "Zoë");
    using Items = std::vector<std::pair<std::string, int32_t>>;
    EXPECT_EQ(
        t.w.list.items,
        (Items{{padded("Vlad"), 1}, {"Zoë" + std::string(46, ' '), 2}, {padded("Carmilla"), 3}}));

    // A reload replaces the list rather than adding to it.
    t.start_with({make("Only")});
    EXPECT_EQ(t.w.list.items, (Items{{padded("Only"), 1}}));
    EXPECT_EQ(t.db.VAMPS.ubound(), 1);
}

TEST(VampDb, PartialRecordsLoadWithZerosAndSaveLeavesTheTailAlone) {
    Db t;
    const std::string tail(35, 'x');
    write_bytes(t.dat(), vamp_bytes(make("Vlad")) + tail);
    t.db.LOAD_DB();
    ASSERT_EQ(t.db.VAMP_COUNT, 1);
    t.db.VAMPS(1).POS_X = 42;
    t.db.SAVE_DB();
    VAMP moved = make("Vlad");
    moved.POS_X = 42;
    EXPECT_EQ(read_bytes(t.dat()), vamp_bytes(moved) + tail);

    t.db.CLEAN_DB();
    EXPECT_EQ(read_bytes(t.dat()), vamp_bytes(moved));
    EXPECT_EQ(t.db.VAMP_COUNT, 1);

    // 250 bytes count as 2 records; the missing bytes of the second read as 0.
    std::string second = vamp_bytes(make("Half")).substr(0, 85);
    write_bytes(t.dat(), vamp_bytes(moved) + second);
    t.db.LOAD_DB();
    ASSERT_EQ(t.db.VAMP_COUNT, 2);
    const VAMP& half = t.db.VAMPS(2);
    EXPECT_EQ(half.handle(), "Half");
    EXPECT_EQ(half.NAME[33], ' ');  // byte 84 of the record
    EXPECT_EQ(half.NAME[34], '\0');
    EXPECT_EQ(half.PASSWORD_LEN, 0);
    EXPECT_EQ(half.POS_X, 0);
    EXPECT_EQ(half.DELETED, 0);
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, LoadAndSaveGiveBackEveryByte) {
    Db t;
    std::string garbage;
    for (int i = 0; i < 5 * kVampRecordBytes; ++i)
        garbage += static_cast<char>((i * 131 + i / 7) & 0xFF);
    write_bytes(t.dat(), garbage);
    t.db.LOAD_DB();
    ASSERT_EQ(t.db.VAMP_COUNT, 5);
    t.db.SAVE_DB();
    EXPECT_EQ(read_bytes(t.dat()), garbage);
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, AFileTooBigToCountShowsTheOverflowBox) {
    Db t;
    t.start_with({make("Vlad")});
    ASSERT_EQ(t.db.VAMP_COUNT, 1);
    // 32767.5 records and a little: the count rounds to 32768, which 16 bits cannot hold.
    fs::resize_file(t.dat(), 32767LL * kVampRecordBytes + 83);
    t.db.LOAD_DB();
    EXPECT_EQ(t.w.prompts.shown, (std::vector<ShownBox>{error_box(6, "LOAD_DB")}));
    EXPECT_EQ(t.db.VAMP_COUNT, 1);
    EXPECT_EQ(t.db.VAMPS(1), make("Vlad"));
    EXPECT_EQ(t.w.list.items.size(), 1u);
    EXPECT_EQ(t.w.new_vamp.shown, 0);
}

TEST(VampDb, AnUnreadableDatabaseShowsEachProceduresBox) {
    Db t;
    t.start_with({make("Vlad")});
    fs::remove(t.dat());
    fs::create_directory(t.dat());
    const int n = static_cast<int>(Err::PathFileAccessError);

    t.db.LOAD_DB();
    t.db.SAVE_DB();
    t.db.CLEAN_DB();
    EXPECT_EQ(t.db.CREATE_DB(make("New")), 0);
    EXPECT_EQ(t.w.prompts.shown,
              (std::vector<ShownBox>{error_box(n, "LOAD_DB"), error_box(n, "SAVE_DB"),
                                     error_box(n, "CLEAN_DB"), error_box(n, "CLEAN_DB"),
                                     error_box(n, "CREATE_DB")}));
    // Memory keeps what the last good load gave.
    EXPECT_EQ(t.db.VAMP_COUNT, 1);
    EXPECT_EQ(t.db.VAMPS(1), make("Vlad"));
    EXPECT_FALSE(fs::exists(t.scratch()));
}

TEST(VampDb, SaveStopsWithItsBoxAtAMissingRecord) {
    Db t;
    t.start_with({make("A"), make("B")});
    t.db.VAMPS(1).POS_Y = 7;
    t.db.VAMP_COUNT = 3;
    t.db.SAVE_DB();
    EXPECT_EQ(t.w.prompts.shown, (std::vector<ShownBox>{error_box(9, "SAVE_DB")}));
    VAMP a = make("A");
    a.POS_Y = 7;
    // What was written before the error stays written.
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({a, make("B")}));
}

TEST(VampDb, CleanDropsDeletedRecordsAndReloads) {
    Db t;
    t.start_with({make("A"), make("B", "n", "p", kTrue), make("C"), make("D", "n", "p", 1)});
    ASSERT_EQ(t.db.VAMP_COUNT, 4);
    t.db.CLEAN_DB();
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("A"), make("C")}));
    EXPECT_EQ(mode_of(t.dat()), 0600u);
    EXPECT_FALSE(fs::exists(t.scratch()));
    EXPECT_EQ(t.db.VAMP_COUNT, 2);
    EXPECT_EQ(t.db.VAMPS(2).handle(), "C");
    EXPECT_EQ(t.w.list.items.back(), (std::pair<std::string, int32_t>{padded("C"), 2}));
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, CleanNeverReusesAScratchFileLeftOver) {
    Db t;
    write_bytes(t.dat(), vamp_file({make("A"), make("B", "n", "p", kTrue)}));
    // An interrupted run left a larger scratch file, readable by all.
    write_bytes(t.scratch(), vamp_file({make("Old1"), make("Old2"), make("Old3"), make("Old4")}));
    fs::permissions(t.scratch(), fs::perms(0644));
    t.db.CLEAN_DB();
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("A")}));
    EXPECT_EQ(mode_of(t.dat()), 0600u);
    EXPECT_FALSE(fs::exists(t.scratch()));
    EXPECT_EQ(t.db.VAMP_COUNT, 1);
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, CharactersLeftOnlyInTheScratchFileAreTakenBack) {
    Db t;
    // An older version stopped after deleting the database and before copying the scratch.
    const std::string kept = vamp_file({make("A"), make("C")});
    write_bytes(t.scratch(), kept);
    t.db.LOAD_DB();
    EXPECT_EQ(t.w.new_vamp.shown, 0);
    EXPECT_EQ(t.db.VAMP_COUNT, 2);
    EXPECT_EQ(read_bytes(t.dat()), kept);
    EXPECT_FALSE(fs::exists(t.scratch()));
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, CleanThatCannotMakeItsScratchFileLeavesTheDatabaseAlone) {
    Db t;
    const std::string before = vamp_file({make("A"), make("B", "n", "p", kTrue)});
    write_bytes(t.dat(), before);
    t.db.LOAD_DB();
    const int clears = t.w.list.clears;
    // A directory in the scratch file's place (with something in it, so it cannot just go).
    fs::create_directory(t.scratch());
    write_bytes(t.scratch() / "keep", "x");
    t.db.CLEAN_DB();
    EXPECT_EQ(
        t.w.prompts.shown,
        (std::vector<ShownBox>{error_box(static_cast<int>(Err::PathFileAccessError), "CLEAN_DB")}));
    EXPECT_EQ(read_bytes(t.dat()), before);
    EXPECT_TRUE(fs::exists(t.scratch() / "keep"));
    EXPECT_EQ(t.w.list.clears, clears);  // no reload
    EXPECT_EQ(t.db.VAMP_COUNT, 2);
}

TEST(VampDb, CleanInAReadOnlyFolderLeavesTheDatabaseAlone) {
    Db t;
    const std::string before = vamp_file({make("A"), make("B", "n", "p", kTrue)});
    write_bytes(t.dat(), before);
    fs::permissions(t.w.folder.path(), fs::perms(0500));
    {
        std::ofstream probe(t.w.folder / "probe");
        if (probe) GTEST_SKIP() << "permission bits are not enforced for this user";
    }
    // Whatever number the file layer gives for a file it cannot create.
    int number = 0;
    try {
        RecordFile f(t.scratch(), kVampRecordBytes);
    } catch (const RuntimeError& e) {
        number = e.number();
    }
    ASSERT_NE(number, 0);
    t.db.CLEAN_DB();
    EXPECT_EQ(t.w.prompts.shown, (std::vector<ShownBox>{error_box(number, "CLEAN_DB")}));
    EXPECT_EQ(read_bytes(t.dat()), before);
    EXPECT_FALSE(fs::exists(t.scratch()));
}

TEST(VampDb, DeletingTheLastCharacterKeepsTheOldListAndOffersNothing) {
    Db t;
    t.db.LOAD_DB();  // first start, dialog cancelled
    ASSERT_EQ(t.db.CREATE_DB(make("Vlad")), 1);
    t.db.VAMPS(1).DELETED = kTrue;
    t.db.SAVE_DB();
    t.db.CLEAN_DB();
    EXPECT_EQ(fs::file_size(t.dat()), 0u);
    EXPECT_EQ(t.db.VAMP_COUNT, 0);
    EXPECT_EQ(t.db.VAMPS.ubound(), 1);
    EXPECT_EQ(t.w.list.items.size(), 1u);
    EXPECT_EQ(t.w.new_vamp.shown, 1);
    EXPECT_TRUE(t.w.prompts.shown.empty());
}

TEST(VampDb, TheFileNameIsMatchedWithoutRegardToCase) {
    Db t;
    const fs::path odd = t.w.folder / "vamp.DAT";
    write_bytes(odd, vamp_file({make("A"), make("B", "n", "p", kTrue)}));
    EXPECT_EQ(t.db.file_path(), odd);
    t.db.LOAD_DB();
    EXPECT_EQ(t.db.VAMP_COUNT, 2);
    t.db.CLEAN_DB();
    EXPECT_EQ(read_bytes(odd), vamp_file({make("A")}));
    EXPECT_FALSE(fs::exists(t.dat()));
    EXPECT_EQ(t.db.VAMP_COUNT, 1);
}

}  // namespace
}  // namespace zeko
