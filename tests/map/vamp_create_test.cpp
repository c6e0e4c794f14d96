#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "common/errors.h"
#include "map/vamp_db.h"
#include "support/world.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using Db = testing::DbWorld;
using testing::error_box;
using testing::read_bytes;
using testing::ShownBox;
using testing::vamp_file;
using testing::write_bytes;

VAMP make(std::string_view handle, std::string_view name = "Name", VbBool autologin = kFalse) {
    VAMP v;
    v.set_handle(handle);
    v.set_name(name);
    v.set_password("secret");
    v.AUTOLOGIN = autologin;
    return v;
}

const ShownBox kHandleBox{"The handle you have selected is already in use, please try another.",
                          MsgButtons::OK, MsgIcon::Information, "Sorry mr. Smith..."};

ShownBox name_box(std::string_view stored_handle) {
    return ShownBox{
        "The vampire you are entering is already listed in the database. Their "
        "handle is " +
            std::string(stored_handle) + std::string(49 - char_count(stored_handle), ' ') +
            ". To alter this record, please select Edit Vampire.",
        MsgButtons::OK, MsgIcon::Information, "They cloned me! Wait, am I me, or is he me?"};
}

TEST(VampCreate, AppendsAndReturnsTheNewIndex) {
    Db t;
    EXPECT_EQ(t.db.CREATE_DB(make("Vlad")), 1);
    EXPECT_EQ(t.db.CREATE_DB(make("Carmilla")), 2);
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("Vlad"), make("Carmilla")}));
    struct stat st {};
    ASSERT_EQ(::stat(t.dat().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(t.db.VAMP_COUNT, 2);
    EXPECT_EQ(t.w.list.items.size(), 2u);
    EXPECT_EQ(t.w.list.items[1].second, 2);
    EXPECT_TRUE(t.w.prompts.shown.empty());
    // The creation goes through a compaction first: deleted records are gone by then.
    t.db.VAMPS(1).DELETED = kTrue;
    t.db.SAVE_DB();
    EXPECT_EQ(t.db.CREATE_DB(make("Vlad")), 2);
    VAMP carmilla = make("Carmilla");
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({carmilla, make("Vlad")}));
}

TEST(VampCreate, HandlesAreComparedWholeAndCaseSensitive) {
    Db t;
    t.start_with({make("Bob")});
    EXPECT_EQ(t.db.CREATE_DB(make("bob")), 2);
    EXPECT_EQ(t.db.CREATE_DB(make("Bob ")), 0);  // padding makes "Bob " the same field
    EXPECT_EQ(t.db.CREATE_DB(make("Bob", "Other")), 0);
    EXPECT_EQ(t.w.prompts.shown, (std::vector<ShownBox>{kHandleBox, kHandleBox}));
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("Bob"), make("bob")}));

    // Two 60-character handles that agree in their first 49 characters are the same field.
    const std::string a = std::string(49, 'h') + "aaaaaaaaaaa";
    const std::string b = std::string(49, 'h') + "bbbbbbbbbbb";
    EXPECT_EQ(t.db.CREATE_DB(make(a)), 3);
    EXPECT_EQ(t.db.VAMPS(3).HANDLE_LEN, 60);
    EXPECT_EQ(t.db.CREATE_DB(make(b)), 0);
}

TEST(VampCreate, TheSameNameIsRefusedOnlyWhenTheLoginIsAskedFor) {
    Db t;
    t.start_with({make("Zoë", "Dracula")});  // the stored record does not log in itself
    EXPECT_EQ(t.db.CREATE_DB(make("Other", "Dracula", kTrue)), 0);
    EXPECT_EQ(t.w.prompts.shown, (std::vector<ShownBox>{name_box("Zoë")}));
    // Only exactly -1 asks for the login.
    EXPECT_EQ(t.db.CREATE_DB(make("Other", "Dracula", 1)), 2);
    EXPECT_EQ(t.db.CREATE_DB(make("Third", "Dracula", kFalse)), 3);
    EXPECT_EQ(t.db.CREATE_DB(make("Fourth", "dracula", kTrue)), 4);
    EXPECT_EQ(t.w.prompts.shown.size(), 1u);
}

TEST(VampCreate, RecordsAreCheckedInOrderHandleBeforeName) {
    Db t;
    t.start_with({make("First", "Same"), make("Dup", "Else")});
    // Record 1 has the name, record 2 the handle: record 1 is met first.
    EXPECT_EQ(t.db.CHECK_NEW_VAMP(make("Dup", "Same", kTrue)), kFalse);
    // One record with both: the handle box.
    EXPECT_EQ(t.db.CHECK_NEW_VAMP(make("First", "Same", kTrue)), kFalse);
    EXPECT_EQ(t.db.CHECK_NEW_VAMP(make("New", "New", kTrue)), kTrue);
    EXPECT_EQ(t.w.prompts.shown, (std::vector<ShownBox>{name_box("First"), kHandleBox}));
}

TEST(VampCreate, UnsavedChangesGiveWayToTheFile) {
    Db t;
    t.start_with({make("Vlad")});
    // The record handed in is one of VAMPS itself, which the check's reload replaces.
    t.db.VAMPS(1).set_handle("Renamed");
    EXPECT_EQ(t.db.CREATE_DB(t.db.VAMPS(1)), 2);
    EXPECT_EQ(t.db.VAMPS(1).handle(), "Vlad");
    EXPECT_EQ(t.db.VAMPS(2).handle(), "Renamed");
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("Vlad"), make("Renamed")}));
}

TEST(VampCreate, ACountThatWouldOverflowIsAnErrorNotAWrap) {
    Db t;
    t.services.vamp_list = nullptr;
    write_bytes(t.dat(), "");
    fs::resize_file(t.dat(), 32767LL * kVampRecordBytes);
    EXPECT_EQ(t.db.CREATE_DB(make("One too many")), 0);
    EXPECT_EQ(t.w.prompts.shown, (std::vector<ShownBox>{error_box(6, "CREATE_DB")}));
    EXPECT_EQ(t.db.VAMP_COUNT, 32767);
    EXPECT_EQ(fs::file_size(t.dat()), 32767u * kVampRecordBytes);
}

class FailingList final : public CharacterList {
  public:
    void clear() override {}
    void add_item(std::string_view, int32_t) override { throw std::runtime_error("list gone"); }
};

TEST(VampCreate, AFailedReloadReturnsNoIndex) {
    Db t;
    FailingList list;
    t.services.vamp_list = &list;
    EXPECT_EQ(t.db.CREATE_DB(make("Vlad")), 0);
    EXPECT_EQ(t.w.prompts.shown,
              (std::vector<ShownBox>{error_box(static_cast<int>(Err::InvalidCall), "LOAD_DB")}));
    EXPECT_EQ(read_bytes(t.dat()), vamp_file({make("Vlad")}));
}

}  // namespace
}  // namespace zeko
