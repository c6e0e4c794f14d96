#include "common/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/errors.h"
#include "support/failing_files.h"
#include "support/fakes.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using testing::error_of;
using testing::FailingFiles;
using testing::FileOp;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

constexpr int kFileNotFound = static_cast<int>(Err::FileNotFound);
constexpr int kPathFileAccess = static_cast<int>(Err::PathFileAccessError);
constexpr int kBadRecord = static_cast<int>(Err::BadRecordNumber);

std::vector<uint8_t> bytes(std::string_view s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

fs::perms mode_of(const fs::path& p) {
    return fs::status(p).permissions() & fs::perms::all;
}

TEST(ResolveInFolder, MatchesNamesWithoutRegardToCasePreferringTheExactOne) {
    TempFolder dir;
    write_bytes(dir / "map.dat", "m");
    EXPECT_EQ(resolve_in_folder(dir.path(), "MAP.DAT"), dir / "map.dat");
    write_bytes(dir / "VAMP.dat", "v");
    write_bytes(dir / "vamp.DAT", "w");
    EXPECT_EQ(resolve_in_folder(dir.path(), "VAMP.dat"), dir / "VAMP.dat");
    EXPECT_EQ(resolve_in_folder(dir.path(), "vamp.DAT"), dir / "vamp.DAT");
}

TEST(FileHelpers, MissingFilesAndDirectoriesRaiseTheClassicErrors) {
    TempFolder dir;
    EXPECT_EQ(error_of([&] { file_length(dir / "a.dat"); }), kFileNotFound);
    EXPECT_EQ(error_of([&] { delete_file(dir / "a.dat"); }), kFileNotFound);
    EXPECT_EQ(error_of([&] { rename_file(dir / "a.dat", dir / "b.dat"); }), kFileNotFound);
    write_bytes(dir / "a.dat", "12345");
    write_bytes(dir / "b.dat", "old contents");
    rename_file(dir / "a.dat", dir / "b.dat");
    EXPECT_FALSE(file_exists(dir / "a.dat"));
    EXPECT_EQ(read_bytes(dir / "b.dat"), "12345");

    fs::create_directory(dir / "sub");
    EXPECT_EQ(error_of([&] { delete_file(dir / "sub"); }), kPathFileAccess);
    EXPECT_EQ(error_of([&] { read_or_create(dir / "sub"); }), kPathFileAccess);
    EXPECT_EQ(error_of([&] { RecordFile f(dir / "sub", 165); }), kPathFileAccess);
    write_bytes(dir / "plain", "x");
    EXPECT_EQ(error_of([&] { read_or_create(dir / "plain" / "MAP.DAT"); }),
              static_cast<int>(Err::PathNotFound));
}

TEST(FileHelpers, NewFilesGetTheirModeExistingOnesAreReadWhole) {
    TempFolder dir;
    const mode_t old_mask = ::umask(022);
    EXPECT_EQ(read_or_create(dir / "SETTINGS.DAT", 0600), "");
    { RecordFile f(dir / "VAMP.dat", 10, 0600); }
    ::umask(old_mask);
    const fs::perms owner = fs::perms::owner_read | fs::perms::owner_write;
    EXPECT_EQ(mode_of(dir / "SETTINGS.DAT"), owner);
    EXPECT_EQ(mode_of(dir / "VAMP.dat"), owner);
    EXPECT_EQ(file_length(dir / "VAMP.dat"), 0);

    std::string data;
    for (int i = 0; i < 40000; ++i)
        data += static_cast<char>(i * 7 % 256);
    write_bytes(dir / "MAP.DAT", data);
    fs::permissions(dir / "MAP.DAT", owner);
    EXPECT_EQ(read_or_create(dir / "MAP.DAT", 0666), data);
    EXPECT_EQ(mode_of(dir / "MAP.DAT"), owner);  // the mode is for new files only
}

TEST(RecordFile, CountsFromOneReadsZerosPastTheEndAndExtendsOnWrite) {
    TempFolder dir;
    write_bytes(dir / "data.dat", "111222333abcdef");
    {
        RecordFile f(dir / "data.dat", 4);
        std::vector<uint8_t> rec(4, 0xAA);
        f.read_record(4, rec);
        EXPECT_EQ(rec, bytes(std::string("def\0", 4)));
        f.read_record(1000, rec);
        EXPECT_EQ(rec, std::vector<uint8_t>(4, 0));
        f.write_record(2, bytes("xyzw"));
        f.write_record(6, bytes("6666"));
        EXPECT_EQ(f.length(), 24);
        EXPECT_EQ(error_of([&] { f.read_record(0, rec); }), kBadRecord);
        EXPECT_EQ(error_of([&] { f.write_record(-1, bytes("bad!")); }), kBadRecord);
        f.sync();
        f.close();
        EXPECT_EQ(error_of([&] { f.length(); }), static_cast<int>(Err::BadFileNameOrNumber));
        f.close();  // a second close is harmless
    }
    EXPECT_EQ(read_bytes(dir / "data.dat"), std::string("1112xyzw3abcdef\0\0\0\0\0"
                                                        "6666",
                                                        24));
    {
        RecordFile f(dir / "data.dat", 3);
        f.truncate();
        EXPECT_EQ(f.length(), 0);
        f.write_record(2, bytes("new"));
    }
    EXPECT_EQ(read_bytes(dir / "data.dat"), std::string("\0\0\0new", 6));
}

TEST(RecordFile, AWriteProtectedFileOpensReadOnly) {
    TempFolder dir;
    write_bytes(dir / "MAP.DAT", "abcdef");
    FailingFiles files;
    files.fail(FileOp::OpenToWrite, 1, EACCES);
    RecordFile f(files, dir / "MAP.DAT", 3);
    std::vector<uint8_t> rec(3);
    f.read_record(2, rec);
    EXPECT_EQ(rec, bytes("def"));
    EXPECT_EQ(error_of([&] { f.write_record(1, bytes("xyz")); }), kPathFileAccess);
    EXPECT_NE(error_of([&] { f.truncate(); }), 0);
    f.close();
    EXPECT_EQ(read_bytes(dir / "MAP.DAT"), "abcdef");
}

TEST(FileLayer, FailuresGiveTheClassicNumbersAndLeaveTheFileAsItWas) {
    struct Case {
        FileOp op;
        int error;
        size_t partial;
        std::function<void(FileLayer&, const fs::path&)> step;
        int number;
        std::string after;  // the file afterwards; "-" when there is none
    };
    const std::string before = "111222333abcdef";  // five 3-byte records
    const auto write_record = [](int64_t n, std::string_view data) {
        return [=](FileLayer& files, const fs::path& p) {
            RecordFile(files, p, 3).write_record(n, bytes(data));
        };
    };
    const auto append = [](FileLayer& files, const fs::path& p) {
        append_whole(files, p, "\"entry\r\n\"\r\n", 0600);
    };
    const Case cases[] = {
        // A file that is missing and may not be created is refused, not "not found".
        {FileOp::OpenToWrite, EACCES, 0,
         [](FileLayer& f, const fs::path& p) { RecordFile(f, p, 3); }, 70, "-"},
        {FileOp::OpenToWrite, EROFS, 0,
         [](FileLayer& f, const fs::path& p) { read_or_create(f, p); }, 70, "-"},
        // A full disk part-way through a record: the file keeps its length and its bytes.
        {FileOp::Write, ENOSPC, 2, write_record(6, "new"), 61, before},
        {FileOp::Write, ENOSPC, 2, write_record(5, "xyz"), 61, before},
        {FileOp::Write, EIO, 0, write_record(1, "xyz"), 57, before},
        {FileOp::Write, ENOSPC, 7, append, 61, before},
        {FileOp::Sync, EIO, 0, [](FileLayer& f, const fs::path& p) { RecordFile(f, p, 3).sync(); },
         57, before},
        // The rename took place but could not be made durable.
        {FileOp::SyncFolder, EIO, 0,
         [](FileLayer& f, const fs::path& p) {
             write_bytes(p.parent_path() / "new", "n");
             rename_file(f, p.parent_path() / "new", p);
         },
         57, "n"},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        const fs::path file = dir / "data.dat";
        if (c.after != "-") write_bytes(file, before);
        FailingFiles files;
        files.fail(c.op, 1, c.error, "DATA.dat", 1, c.partial);
        EXPECT_EQ(error_of([&] { c.step(files, file); }), c.number) << c.error;
        EXPECT_EQ(c.after == "-" ? "-" : read_bytes(file), c.after) << c.error;
    }

    // An entry that goes through whole is appended after what is there.
    TempFolder dir;
    FailingFiles files;
    append_whole(files, dir / "log.txt", "one", 0600);
    append_whole(files, dir / "log.txt", "two", 0600);
    EXPECT_EQ(read_bytes(dir / "log.txt"), "onetwo");
    EXPECT_EQ(mode_of(dir / "log.txt"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(files.writes("LOG.TXT"), 2);
}

}  // namespace
}  // namespace zeko
