#include "common/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "support/fakes.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using testing::error_of;
using testing::read_bytes;
using testing::TempFolder;
using testing::write_bytes;

constexpr int kFileNotFound = static_cast<int>(Err::FileNotFound);
constexpr int kPathFileAccess = static_cast<int>(Err::PathFileAccessError);

std::vector<uint8_t> bytes(std::string_view s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

std::string as_text(const std::vector<uint8_t>& v) {
    return std::string(v.begin(), v.end());
}

// Sets the file-creation mask for one test and gives the old one back.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }

  private:
    mode_t old_;
};

TEST(ResolveInFolder, MatchesNamesWithoutRegardToCase) {
    TempFolder dir;
    write_bytes(dir / "map.dat", "m");
    EXPECT_EQ(resolve_in_folder(dir.path(), "MAP.DAT"), dir / "map.dat");
    EXPECT_EQ(resolve_in_folder(dir.path(), "Map.Dat"), dir / "map.dat");
    EXPECT_EQ(resolve_in_folder(dir.path(), "map.dat"), dir / "map.dat");
    // Only case may differ.
    EXPECT_EQ(resolve_in_folder(dir.path(), "MAP.DA"), dir / "MAP.DA");
    EXPECT_EQ(resolve_in_folder(dir.path(), "MAP.DAT2"), dir / "MAP.DAT2");
    EXPECT_EQ(resolve_in_folder(dir.path(), "VAMP.dat"), dir / "VAMP.dat");
    // An exact match wins over another spelling.
    write_bytes(dir / "VAMP.dat", "v");
    write_bytes(dir / "vamp.DAT", "w");
    EXPECT_EQ(resolve_in_folder(dir.path(), "VAMP.dat"), dir / "VAMP.dat");
    EXPECT_EQ(resolve_in_folder(dir.path(), "vamp.DAT"), dir / "vamp.DAT");
    // A missing folder is no error: the name is used as given.
    EXPECT_EQ(resolve_in_folder(dir / "gone", "MAP.DAT"), dir / "gone" / "MAP.DAT");
}

TEST(FileHelpers, ExistenceLengthDeleteAndRename) {
    TempFolder dir;
    EXPECT_FALSE(file_exists(dir / "a.dat"));
    EXPECT_EQ(error_of([&] { file_length(dir / "a.dat"); }), kFileNotFound);
    EXPECT_EQ(error_of([&] { delete_file(dir / "a.dat"); }), kFileNotFound);
    EXPECT_EQ(error_of([&] { rename_file(dir / "a.dat", dir / "b.dat"); }), kFileNotFound);

    write_bytes(dir / "a.dat", "12345");
    EXPECT_TRUE(file_exists(dir / "a.dat"));
    EXPECT_EQ(file_length(dir / "a.dat"), 5);

    write_bytes(dir / "b.dat", "old contents");
    rename_file(dir / "a.dat", dir / "b.dat");
    EXPECT_FALSE(file_exists(dir / "a.dat"));
    EXPECT_EQ(read_bytes(dir / "b.dat"), "12345");

    delete_file(dir / "b.dat");
    EXPECT_FALSE(file_exists(dir / "b.dat"));
    EXPECT_EQ(error_of([&] { delete_file(dir / "b.dat"); }), kFileNotFound);

    fs::create_directory(dir / "sub");
    EXPECT_EQ(error_of([&] { delete_file(dir / "sub"); }), kPathFileAccess);
    EXPECT_TRUE(fs::is_directory(dir / "sub"));
}

TEST(ReadOrCreate, CreatesAMissingFileEmptyWithTheGivenMode) {
    TempFolder dir;
    ScopedUmask mask(022);
    EXPECT_EQ(read_or_create(dir / "SETTINGS.DAT", 0600), "");
    ASSERT_TRUE(file_exists(dir / "SETTINGS.DAT"));
    EXPECT_EQ(file_length(dir / "SETTINGS.DAT"), 0);
    EXPECT_EQ(fs::status(dir / "SETTINGS.DAT").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_EQ(read_or_create(dir / "VAMP.dat"), "");
    EXPECT_EQ(fs::status(dir / "VAMP.dat").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                  fs::perms::others_read);
}

TEST(ReadOrCreate, ReadsAnExistingFileWhole) {
    TempFolder dir;
    std::string data;
    for (int i = 0; i < 40000; ++i)
        data += static_cast<char>(i * 7 % 256);
    write_bytes(dir / "MAP.DAT", data);
    fs::permissions(dir / "MAP.DAT", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(read_or_create(dir / "MAP.DAT", 0666), data);
    // The mode is for new files only.
    EXPECT_EQ(fs::status(dir / "MAP.DAT").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(ReadOrCreate, WrongKindOfPathRaises) {
    TempFolder dir;
    fs::create_directory(dir / "MAP.DAT");
    EXPECT_EQ(error_of([&] { read_or_create(dir / "MAP.DAT"); }), kPathFileAccess);
    // A file where a folder is expected.
    write_bytes(dir / "plain", "x");
    EXPECT_EQ(error_of([&] { read_or_create(dir / "plain" / "MAP.DAT"); }),
              static_cast<int>(Err::PathNotFound));
    EXPECT_NE(error_of([&] { read_or_create(dir / "gone" / "MAP.DAT"); }), 0);
    EXPECT_FALSE(fs::exists(dir / "gone"));
}

TEST(RecordFile, ReadsPastTheEndAsZerosAndExtendsOnWrite) {
    TempFolder dir;
    RecordFile f(dir / "VAMP.dat", 4);
    ASSERT_TRUE(file_exists(dir / "VAMP.dat"));
    EXPECT_EQ(f.length(), 0);

    std::vector<uint8_t> rec(4, 0xAA);
    f.read_record(3, rec);
    EXPECT_EQ(rec, std::vector<uint8_t>(4, 0));

    f.write_record(3, bytes("CCCC"));
    EXPECT_EQ(f.length(), 12);
    f.write_record(1, bytes("AAAA"));
    EXPECT_EQ(f.length(), 12);
    f.read_record(2, rec);
    EXPECT_EQ(rec, std::vector<uint8_t>(4, 0));
    f.read_record(3, rec);
    EXPECT_EQ(as_text(rec), "CCCC");
    f.sync();
    EXPECT_EQ(read_bytes(dir / "VAMP.dat"), std::string("AAAA\0\0\0\0CCCC", 12));

    // A record the file holds only part of: the rest reads as zeros.
    write_bytes(dir / "short.dat", "abcdef");
    RecordFile s(dir / "short.dat", 4);
    std::fill(rec.begin(), rec.end(), 0xAA);
    s.read_record(2, rec);
    EXPECT_EQ(as_text(rec), std::string("ef\0\0", 4));
    std::array<uint8_t, 4> far{1, 2, 3, 4};
    s.read_record(1000, far);
    EXPECT_EQ(far, (std::array<uint8_t, 4>{}));
}

TEST(RecordFile, KeepsExistingContentsAndRecordNumbersCountFromOne) {
    TempFolder dir;
    write_bytes(dir / "data.dat", "111222333");
    RecordFile f(dir / "data.dat", 3);
    EXPECT_EQ(f.length(), 9);
    std::vector<uint8_t> rec(3);
    f.read_record(2, rec);
    EXPECT_EQ(as_text(rec), "222");
    f.write_record(2, bytes("xyz"));
    f.write_record(5, bytes("555"));
    EXPECT_EQ(error_of([&] { f.read_record(0, rec); }), static_cast<int>(Err::BadRecordNumber));
    EXPECT_EQ(error_of([&] { f.write_record(-1, bytes("bad")); }),
              static_cast<int>(Err::BadRecordNumber));
    f.close();
    EXPECT_EQ(read_bytes(dir / "data.dat"), std::string("111xyz333\0\0\0"
                                                        "555",
                                                        15));
    EXPECT_EQ(error_of([&] { f.length(); }), static_cast<int>(Err::BadFileNameOrNumber));
    EXPECT_EQ(error_of([&] { f.read_record(1, rec); }), static_cast<int>(Err::BadFileNameOrNumber));
    f.close();  // a second close is harmless
}

TEST(RecordFile, TruncateEmptiesTheFile) {
    TempFolder dir;
    write_bytes(dir / "data.dat", "111222333");
    {
        RecordFile f(dir / "data.dat", 3);
        f.truncate();
        EXPECT_EQ(f.length(), 0);
        std::vector<uint8_t> rec(3, 9);
        f.read_record(1, rec);
        EXPECT_EQ(rec, std::vector<uint8_t>(3, 0));
        f.write_record(2, bytes("new"));
    }
    EXPECT_EQ(read_bytes(dir / "data.dat"), std::string("\0\0\0new", 6));
}

TEST(RecordFile, CreatesAMissingFileWithTheGivenMode) {
    TempFolder dir;
    ScopedUmask mask(022);
    { RecordFile f(dir / "SETTINGS.DAT", 10, 0600); }
    EXPECT_EQ(file_length(dir / "SETTINGS.DAT"), 0);
    EXPECT_EQ(fs::status(dir / "SETTINGS.DAT").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST(RecordFile, ADirectoryInPlaceOfTheFileRaisesPathFileAccessError) {
    TempFolder dir;
    fs::create_directory(dir / "VAMP.dat");
    EXPECT_EQ(error_of([&] { RecordFile f(dir / "VAMP.dat", 165); }), kPathFileAccess);
    EXPECT_TRUE(fs::is_directory(dir / "VAMP.dat"));
}

TEST(RecordFile, AWriteProtectedFileOpensReadOnly) {
    if (::geteuid() == 0) GTEST_SKIP() << "write protection does not stop root";
    TempFolder dir;
    write_bytes(dir / "MAP.DAT", "abcdef");
    fs::permissions(dir / "MAP.DAT", fs::perms::owner_read);
    RecordFile f(dir / "MAP.DAT", 3);
    std::vector<uint8_t> rec(3);
    f.read_record(2, rec);
    EXPECT_EQ(as_text(rec), "def");
    EXPECT_EQ(error_of([&] { f.write_record(1, bytes("xyz")); }), kPathFileAccess);
    EXPECT_NE(error_of([&] { f.truncate(); }), 0);
    EXPECT_EQ(read_or_create(dir / "MAP.DAT"), "abcdef");
    f.close();
    EXPECT_EQ(read_bytes(dir / "MAP.DAT"), "abcdef");
}

}  // namespace
}  // namespace zeko
