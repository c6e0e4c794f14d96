#include "common/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "common/errors.h"
#include "support/failing_files.h"
#include "support/fakes.h"

namespace zeko {
namespace {

namespace fs = std::filesystem;
using namespace testing;

std::vector<uint8_t> bytes(std::string_view s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

const fs::perms kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;

fs::perms mode_of(const fs::path& p) {
    return fs::status(p).permissions() & fs::perms::all;
}

TEST(FileHelpers, NamesInAnyCaseClassicErrorsRenameOverAFileAndOwnerOnlyNewFiles) {
    TempFolder dir;
    write_bytes(dir / "map.dat", "m");
    EXPECT_EQ(resolve_in_folder(dir.path(), "MAP.DAT"), dir / "map.dat");
    write_bytes(dir / "VAMP.dat", "v");
    write_bytes(dir / "vamp.DAT", "w");
    EXPECT_EQ(resolve_in_folder(dir.path(), "vamp.DAT"), dir / "vamp.DAT");  // the exact one first

    fs::create_directory(dir / "sub");
    const std::pair<std::function<void()>, int> cases[] = {
        {[&] { file_length(dir / "a.dat"); }, 53},
        {[&] { rename_file(dir / "a.dat", dir / "b.dat"); }, 53},
        {[&] { delete_file(dir / "sub"); }, 75},
        {[&] { read_or_create(dir / "sub"); }, 75},
        {[&] { RecordFile f(dir / "sub", 165); }, 75},
        {[&] { read_or_create(dir / "map.dat" / "MAP.DAT"); }, 76}};
    for (const auto& [step, number] : cases)
        EXPECT_EQ(error_of(step), number);
    rename_file(dir / "map.dat", dir / "VAMP.dat");
    EXPECT_FALSE(file_exists(dir / "map.dat"));
    EXPECT_EQ(read_bytes(dir / "VAMP.dat"), "m");

    // New files are owner-only; existing ones are read whole and keep their mode.
    const mode_t old_mask = ::umask(022);
    EXPECT_EQ(read_or_create(dir / "SETTINGS.DAT", 0600), "");
    { RecordFile f(dir / "NEW.dat", 10, 0600); }
    ::umask(old_mask);
    EXPECT_EQ(mode_of(dir / "SETTINGS.DAT"), kOwnerOnly);
    EXPECT_EQ(mode_of(dir / "NEW.dat"), kOwnerOnly);
    const std::string data(40000, '\xFF');
    write_bytes(dir / "MAP.DAT", data);
    fs::permissions(dir / "MAP.DAT", kOwnerOnly);
    EXPECT_EQ(read_or_create(dir / "MAP.DAT", 0666), data);
    EXPECT_EQ(mode_of(dir / "MAP.DAT"), kOwnerOnly);
}

TEST(RecordFile, CountsFromOneReadsZerosPastTheEndExtendsOnWriteAndOpensReadOnlyIfItMust) {
    TempFolder dir;
    write_bytes(dir / "data.dat", "111222333abcdef");
    {
        RecordFile f(dir / "data.dat", 4);
        std::vector<uint8_t> rec(4, 0xAA);
        f.read_record(4, rec);
        EXPECT_EQ(rec, bytes(std::string("def\0", 4)));
        f.write_record(6, bytes("6666"));
        EXPECT_EQ(f.length(), 24);
        EXPECT_EQ(error_of([&] { f.read_record(0, rec); }), 63);
        f.close();
        EXPECT_EQ(error_of([&] { f.length(); }), 52);
        f.close();  // a second close is harmless
    }
    EXPECT_EQ(read_bytes(dir / "data.dat"), std::string("111222333abcdef\0\0\0\0\0006666", 24));

    FailingFiles files;
    files.fail(FileOp::OpenToWrite, 1, EACCES);
    RecordFile f(files, dir / "data.dat", 3);
    std::vector<uint8_t> rec(3);
    f.read_record(2, rec);
    EXPECT_EQ(rec, bytes("222"));
    EXPECT_EQ(error_of([&] { f.write_record(1, bytes("xyz")); }), 75);
    EXPECT_NE(error_of([&] { f.truncate(); }), 0);
}

TEST(FileLayer, FailuresGiveTheClassicNumbersAndLeaveTheFileAsItWas) {
    enum Step { kWrite6, kWrite1, kAppend, kSync, kReplace };
    // What fails, with what, how many bytes a failing write lets through, the step, the number.
    // A full disk part-way through a record leaves the file its length and its bytes; a rename
    // that took place but could not be made durable is reported.
    using Op = FileOp;
    const std::tuple<FileOp, int, size_t, Step, int> cases[] = {
        {Op::Write, ENOSPC, 2, kWrite6, 61},
        {Op::Write, EIO, 0, kWrite1, 57},
        {Op::Write, ENOSPC, 7, kAppend, 61},
        {Op::Sync, EIO, 0, kSync, 57},
        {Op::SyncFolder, EIO, 0, kReplace, 57}};
    const std::string before = "111222333abcdef";  // five 3-byte records
    for (const auto& [op, error, partial, step, number] : cases) {
        TempFolder dir;
        const fs::path file = dir / "data.dat";
        write_bytes(file, before);
        write_bytes(dir / "new", "n");
        FailingFiles files;
        files.fail(op, 1, error, "DATA.dat", 1, partial);
        EXPECT_EQ(
            error_of([&] {
                if (step == kAppend) append_whole(files, file, "\"entry\r\n\"\r\n", 0600);
                if (step == kSync) RecordFile(files, file, 3).sync();
                if (step == kReplace) rename_file(files, dir / "new", file);
                if (step <= kWrite1)
                    RecordFile(files, file, 3).write_record(step == kWrite6 ? 6 : 1, bytes("new"));
            }),
            number)
            << step;
        EXPECT_EQ(read_bytes(file), step == kReplace ? "n" : before) << step;
    }

    // An entry that goes through whole is appended after what is there, in one write.
    TempFolder dir;
    FailingFiles files;
    append_whole(files, dir / "log.txt", "one", 0600);
    append_whole(files, dir / "log.txt", "two", 0600);
    EXPECT_EQ(read_bytes(dir / "log.txt"), "onetwo");
    EXPECT_EQ(mode_of(dir / "log.txt"), kOwnerOnly);
    EXPECT_EQ(files.writes("LOG.TXT"), 2);
}

}  // namespace
}  // namespace zeko
