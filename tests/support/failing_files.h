#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/file_layer.h"

namespace zeko::testing {

enum class FileOp {
    Open,
    OpenToWrite,
    Read,
    Write,
    Sync,
    Truncate,
    Chmod,
    Rename,
    Remove,
    SyncFolder,
    Link,
    RenameNew
};

// The real files, except for the calls a test makes fail: the nth call of one kind on one file
// (named in any letter case; any file when no name is given) answers a chosen errno instead.
// A failing write may let some bytes through first, as a disk that fills up half-way does.
// Writes are counted per file name.
class FailingFiles final : public PosixFiles {
  public:
    // The nth such call (from 1) and the `times` - 1 after it fail; times < 0: every one.
    FailingFiles& fail(FileOp op, int nth, int error, std::string name = {}, int times = 1,
                       size_t partial = 0);
    // A folder the program may read but not change: opens to write, removals and renames
    // are refused as the system refuses them.
    FailingFiles& read_only();

    int writes(std::string_view name) const;

    int open(const std::filesystem::path& path, int flags, mode_t create_mode, int& fd) override;
    int read(int fd, std::span<uint8_t> out, int64_t at, size_t& got) override {
        return or_else(FileOp::Read, names_[fd],
                       [&] { return PosixFiles::read(fd, out, at, got); });
    }
    int write(int fd, std::span<const uint8_t> data, int64_t at, size_t& done) override;
    int sync(int fd) override {
        return or_else(FileOp::Sync, names_[fd], [&] { return PosixFiles::sync(fd); });
    }
    int truncate(int fd, int64_t length) override {
        return or_else(FileOp::Truncate, names_[fd],
                       [&] { return PosixFiles::truncate(fd, length); });
    }
    int chmod(int fd, mode_t mode) override {
        return or_else(FileOp::Chmod, names_[fd], [&] { return PosixFiles::chmod(fd, mode); });
    }
    int close(int fd) override {
        names_.erase(fd);
        return PosixFiles::close(fd);
    }
    int rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return or_else(FileOp::Rename, leaf(to), [&] { return PosixFiles::rename(from, to); });
    }
    int remove(const std::filesystem::path& path) override {
        return or_else(FileOp::Remove, leaf(path), [&] { return PosixFiles::remove(path); });
    }
    // Named by the new name.
    int link(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return or_else(FileOp::Link, leaf(to), [&] { return PosixFiles::link(from, to); });
    }
    int rename_new(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return or_else(FileOp::RenameNew, leaf(to),
                       [&] { return PosixFiles::rename_new(from, to); });
    }
    // A folder sync concerns every file in it.
    int sync_folder(const std::filesystem::path& folder) override {
        return or_else(FileOp::SyncFolder, {}, [&] { return PosixFiles::sync_folder(folder); });
    }

  private:
    struct Rule {
        FileOp op;
        std::string name;
        int nth, times, error;
        size_t partial;
        int seen = 0;
    };
    // The error the call answers, 0 to let it through.
    int failure(FileOp op, const std::string& name, size_t* partial = nullptr);
    // The call's error, or what the real call answers when it is let through.
    template <class Call>
    int or_else(FileOp op, const std::string& name, Call call) {
        const int e = failure(op, name);
        return e != 0 ? e : call();
    }
    static std::string leaf(const std::filesystem::path& path) {
        return upper(path.filename().string());
    }
    static std::string upper(std::string_view s);

    std::vector<Rule> rules_;
    std::map<int, std::string> names_;  // open descriptors
    std::map<std::string, int> writes_;
};

}  // namespace zeko::testing
