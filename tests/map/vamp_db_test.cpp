#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/errors.h"
#include "map/vamp_db.h"
#include "support/failing_files.h"
#include "support/world.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using namespace testing;
using Items = std::vector<std::pair<std::string, int32_t>>;
using Boxes = std::vector<ShownBox>;

// The character database alone, in its own temporary folder.
struct Db {
    TestWorld w;
    Services services = w.services();
    VampDb db{w.folder.path(), services};
    Db() { w.wire(db); }
    fs::path dat() const { return w.folder / "VAMP.dat"; }
    fs::path scratch() const { return w.folder / "VAMP.da_"; }
    void start_with(const std::vector<VAMP>& records) {
        write_bytes(dat(), vamp_file(records));
        db.LOAD_DB();
    }
};

VAMP make(std::string_view handle, std::string_view name = "Name", VbBool autologin = kFalse,
          VbBool deleted = kFalse) {
    VAMP v;
    v.set_handle(handle);
    v.set_name(name);
    v.set_password("pw");
    v.AUTOLOGIN = autologin;
    v.DELETED = deleted;
    return v;
}

const VAMP kDeleted = make("B", "n", kFalse, kTrue);

fs::perms mode_of(const fs::path& p) {
    return fs::status(p).permissions() & fs::perms::all;
}
const fs::perms kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;

std::string padded(std::string_view handle) {
    return std::string(handle) + std::string(49 - char_count(handle), ' ');
}

const ShownBox kHandleBox{"The handle you have selected is already in use, please try another.",
                          MsgButtons::OK, MsgIcon::Information, "Sorry mr. Smith..."};

ShownBox name_box(std::string_view stored_handle) {
    return ShownBox{
        "The vampire you are entering is already listed in the database. Their handle is " +
            padded(stored_handle) + ". To alter this record, please select Edit Vampire.",
        MsgButtons::OK, MsgIcon::Information, "They cloned me! Wait, am I me, or is he me?"};
}

TEST(VampRecord, LayoutMatchesTheFile) {
    VAMP v = make("Vlad", "Dracula", kTrue, kTrue);
    v.set_password("garlic");
    v.POS_X = 0x1234;
    v.POS_Y = -2;
    v.DEST_X = 199;
    v.DEST_Y = -32768;
    EXPECT_EQ(vamp_file({v}), padded("Vlad") + '\0' + '\x04' + "Dracula" + std::string(43, ' ') +
                                  '\x07' + "garlic" + std::string(44, ' ') + '\x06' +
                                  std::string("\x34\x12\xFE\xFF\xC7\0\0\x80", 8) +
                                  std::string(4, '\xFF'));
    EXPECT_EQ(decode_vamp(encode_vamp(v)), v);
}

TEST(VampDb, FirstStartOffersTheDialogOnceAndLeavesAPrivateFile) {
    Db t;
    int16_t created = -1;
    // The dialog runs while LOAD_DB waits: it finds the file closed and writable.
    t.w.new_vamp.on_show = [&] { created = t.db.CREATE_DB(make("Vlad")); };
    t.db.LOAD_DB();
    EXPECT_EQ(created, 1);
    EXPECT_EQ(t.w.list.items, (Items{{padded("Vlad"), 1}}));
    EXPECT_EQ(mode_of(t.dat()), kOwnerOnly);

    // Deleting the last character keeps the old list and offers nothing again.
    t.db.VAMPS(1).DELETED = kTrue;
    t.db.SAVE_DB();
    t.db.CLEAN_DB();
    EXPECT_EQ(fs::file_size(t.dat()), 0u);
    EXPECT_EQ(t.db.VAMP_COUNT, 0);
    EXPECT_EQ(t.w.list.items.size(), 1u);
    EXPECT_EQ(t.w.new_vamp.shown, 1);
    EXPECT_TRUE(t.w.prompts.shown.empty());

    // Cancelled, or before the windows exist: the offer still counts, the file is private.
    Db bare;
    bare.db.new_vamp_dialog = nullptr;
    bare.db.vamp_list = nullptr;
    bare.db.LOAD_DB();
    EXPECT_TRUE(bare.db.CREATE_OFFERED);
    EXPECT_EQ(mode_of(bare.dat()), kOwnerOnly);
}

TEST(VampDb, LoadFillsTheListSaveGivesBackEveryByteAndAHalfWrittenRecordReadsAsZeros) {
    Db t;
    t.start_with({make("Vlad"), make("Zoë", "Zoë"), make("Carmilla")});
    EXPECT_EQ(t.db.VAMPS(2).name(), "Zoë");
    EXPECT_EQ(t.w.list.items,
              (Items{{padded("Vlad"), 1}, {padded("Zoë"), 2}, {padded("Carmilla"), 3}}));

    std::string garbage;
    for (int i = 0; i < 5 * kVampRecordBytes + 35; ++i)
        garbage += static_cast<char>((i * 131 + i / 7) & 0xFF);
    write_bytes(t.dat(), garbage);
    fs::permissions(t.dat(), fs::perms(0644));
    t.db.LOAD_DB();
    ASSERT_EQ(t.db.VAMP_COUNT, 5);
    t.db.SAVE_DB();
    EXPECT_EQ(read_bytes(t.dat()), garbage);
    EXPECT_EQ(mode_of(t.dat()), kOwnerOnly);

    // 250 bytes count as 2 records; the missing bytes of the second read as 0.
    write_bytes(t.dat(), vamp_file({make("Vlad")}) + vamp_file({make("Half")}).substr(0, 85));
    t.db.LOAD_DB();
    ASSERT_EQ(t.db.VAMP_COUNT, 2);
    EXPECT_EQ(t.w.list.items.size(), 2u);
    EXPECT_EQ(t.db.VAMPS(2).handle(), "Half");
    EXPECT_EQ(t.db.VAMPS(2).NAME[33], ' ');  // byte 84 of the record
    EXPECT_EQ(t.db.VAMPS(2).NAME[34], '\0');
    EXPECT_EQ(t.db.VAMPS(2).POS_X, 0);
}

TEST(VampDb, CleanReplacesTheFileInOneStepNeverReusingAStaleScratchFileAndTakesBackItsOrphans) {
    Db t;
    const fs::path odd = t.w.folder / "vamp.DAT";  // any letter case
    write_bytes(odd, vamp_file({make("A"), kDeleted, make("C"), make("D", "n", kFalse, 1)}));
    // An interrupted run left a larger scratch file, readable by all.
    write_bytes(t.scratch(),
                vamp_file({make("O1"), make("O2"), make("O3"), make("O4"), make("O5")}));
    fs::permissions(t.scratch(), fs::perms(0644));
    t.db.LOAD_DB();
    t.db.CLEAN_DB();
    EXPECT_EQ(read_bytes(odd), vamp_file({make("A"), make("C")}));
    EXPECT_EQ(mode_of(odd), kOwnerOnly);
    EXPECT_FALSE(fs::exists(t.dat()));
    EXPECT_FALSE(fs::exists(t.scratch()));
    EXPECT_EQ(t.w.list.items.back(), (std::pair<std::string, int32_t>{padded("C"), 2}));

    // An older version stopped after deleting the database and before copying the scratch.
    Db orphans;
    write_bytes(orphans.scratch(), vamp_file({make("A"), make("C")}));
    orphans.db.LOAD_DB();
    EXPECT_EQ(orphans.w.new_vamp.shown, 0);
    EXPECT_EQ(read_bytes(orphans.dat()), vamp_file({make("A"), make("C")}));
    EXPECT_FALSE(fs::exists(orphans.scratch()));
    EXPECT_TRUE(t.w.prompts.shown.empty() && orphans.w.prompts.shown.empty());
}

TEST(VampDb, FailuresShowTheProceduresBoxAndLeaveFileAndMemoryWhole) {
    const std::string two = vamp_file({make("A"), kDeleted});
    VAMP moved = make("A");
    moved.POS_Y = 7;
    enum Step { kLoad, kSave, kClean, kCreate, kEach };
    const char* procedures[] = {"LOAD_DB", "SAVE_DB", "CLEAN_DB", "CREATE_DB"};
    using Prepare = std::function<void(Db&, FailingFiles&)>;
    struct Case {
        Prepare prepare;
        Step step;
        int error;
        std::string after;  // the file afterwards: "-" not a file, "" not checked
        int16_t count;
    };
    const auto fail = [](FileOp op, int nth, int error, size_t partial = 0,
                         const char* file = "VAMP.dat") {
        return [=](Db&, FailingFiles& f) { f.fail(op, nth, error, file, 1, partial); };
    };
    const auto folder_as = [](fs::path (Db::*file)() const) {
        return [=](Db& t, FailingFiles&) {
            fs::remove((t.*file)());
            fs::create_directories((t.*file)() / "keep");
        };
    };
    const Case cases[] = {
        // What was written before the error stays written.
        // a record missing from memory
        {[](Db& t, FailingFiles&) { t.db.VAMPS(1).POS_Y = 7, t.db.VAMP_COUNT = 3; }, kSave, 9,
         vamp_file({moved, kDeleted}), 3},
        // a folder in the database's place
        {folder_as(&Db::dat), kEach, 75, "-", 2},
        // a folder in the scratch file's place
        {folder_as(&Db::scratch), kClean, 75, two, 2},
        // a read-only folder: no scratch file
        {[](Db&, FailingFiles& f) { f.read_only(); }, kClean, 70, two, 2},
        // a read-only folder: no database
        {[](Db& t, FailingFiles& f) { fs::remove(t.dat()), f.read_only(); }, kLoad, 70, "-", 2},
        // 32767.5 records and a little: the count rounds to 32768, which 16 bits cannot hold.
        // a file too big to count
        {[](Db& t, FailingFiles&) { fs::resize_file(t.dat(), 32767LL * kVampRecordBytes + 83); },
         kLoad, 6, "", 2},
        // a full disk half-way through the new record
        {fail(FileOp::Write, 3, ENOSPC, 100), kCreate, 61, vamp_file({make("A")}), 1},
        // a full disk two bytes into a record that was there: those bytes are put back
        {[](Db& t, FailingFiles& f) {
             t.db.VAMPS(2).set_handle("Moved");
             f.fail(FileOp::Write, 2, ENOSPC, "VAMP.dat", 1, 2);
         },
         kSave, 61, two, 2},
        // the scratch file cannot be synced: it never takes the database's place
        {fail(FileOp::Sync, 1, EIO, 0, "VAMP.da_"), kClean, 57, two, 2},
        // the save before the check fails
        {fail(FileOp::Write, 1, EIO), kCreate, 57, two, 2},
        // The compacted file is in place but perhaps not on the disk: memory follows it.
        // the folder cannot be synced after the rename
        {fail(FileOp::SyncFolder, 1, EIO), kClean, 57, vamp_file({make("A")}), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Db t;
        t.start_with({make("A"), kDeleted});
        FailingFiles files;
        c.prepare(t, files);
        t.db.use_files(files);
        Boxes boxes;
        for (Step s : {kLoad, kSave, kClean, kCreate}) {
            if (c.step != s && c.step != kEach) continue;
            if (s == kLoad) t.db.LOAD_DB();
            if (s == kSave) t.db.SAVE_DB();
            if (s == kClean) t.db.CLEAN_DB();
            EXPECT_TRUE(s != kCreate || t.db.CREATE_DB(make("New")) == 0);
            boxes.push_back(error_box(c.error, procedures[s]));
        }
        EXPECT_EQ(t.w.prompts.shown, boxes);
        EXPECT_EQ(t.db.VAMP_COUNT, c.count);
        EXPECT_EQ(t.db.VAMPS(1).handle(), "A");
        EXPECT_FALSE(fs::is_regular_file(t.scratch()));
        EXPECT_EQ(t.w.new_vamp.shown, 0);
        if (c.after.empty()) continue;
        EXPECT_EQ(fs::is_regular_file(t.dat()) ? read_bytes(t.dat()) : "-", c.after);
    }
}

TEST(VampCreate, AppendsPrivatelyAfterCompactingKeepingChangesNotYetSaved) {
    Db t;
    t.start_with({make("Vlad"), kDeleted, make("Carmilla")});
    fs::permissions(t.dat(), fs::perms(0644));
    // An edit confirmed in the dialog and a position reached since the last save.
    t.db.VAMPS(1).set_handle("Renamed");
    t.db.VAMPS(3).POS_X = 42;
    EXPECT_EQ(t.db.CREATE_DB(make("Vlad")), 3);
    VAMP moved = make("Carmilla");
    moved.POS_X = 42;
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("Renamed"), moved, make("Vlad")}));
    EXPECT_EQ(mode_of(t.dat()), kOwnerOnly);
    EXPECT_EQ(t.db.VAMPS(2), moved);
    EXPECT_EQ(t.w.list.items.size(), 3u);
    // The record handed in may be one of VAMPS itself, which the reload replaces.
    EXPECT_EQ(t.db.CREATE_DB(t.db.VAMPS(1)), 0);
    EXPECT_EQ(t.w.prompts.shown, Boxes{kHandleBox});
}

TEST(VampCreate, HandlesAsStoredFieldsAndNamesOnlyWhenTheLoginIsAskedForAreRefused) {
    Db t;
    t.start_with({make("Zoë", "Dracula"), make("Dup", "Else")});
    // Handles are compared as stored fields, case-sensitive: padding makes "Zoë " the same
    // field, and two long handles that agree in their first 49 characters are the same.
    // Only exactly -1 asks for the login, and only then is the name (case-sensitive) refused.
    // Record 1 has the name, record 2 the handle: record 1 is met first; one record with both
    // gives the handle box.
    const std::string h49(49, 'h');
    const std::tuple<std::string, const char*, VbBool, int16_t> cases[] = {
        {"zoë", "Name", kFalse, 3},      {"Zoë ", "Name", kFalse, 0},
        {h49 + "a", "Name", kFalse, 4},  {h49 + "b", "Name", kFalse, 0},
        {"Other", "Dracula", kTrue, 0},  {"Other", "Dracula", 1, 5},
        {"Fourth", "dracula", kTrue, 6}, {"Dup", "Dracula", kTrue, 0},
        {"Dup", "Else", kTrue, 0},
    };
    for (const auto& [handle, name, autologin, index] : cases)
        EXPECT_EQ(t.db.CREATE_DB(make(handle, name, autologin)), index) << handle;
    EXPECT_EQ(t.w.prompts.shown,
              (Boxes{kHandleBox, kHandleBox, name_box("Zoë"), name_box("Zoë"), kHandleBox}));
}

class FailingList final : public CharacterList {
  public:
    void clear() override {}
    void add_item(std::string_view, int32_t) override { throw std::runtime_error("list gone"); }
};

TEST(VampCreate, AFailedReloadReturnsNoIndex) {
    Db t;
    FailingList list;
    t.db.vamp_list = &list;
    EXPECT_EQ(t.db.CREATE_DB(make("Vlad")), 0);
    EXPECT_EQ(t.w.prompts.shown, Boxes{error_box(static_cast<int>(Err::InvalidCall), "LOAD_DB")});
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("Vlad")}));
}

}  // namespace
}  // namespace zeko
