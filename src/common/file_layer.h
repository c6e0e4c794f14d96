#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace zeko {

// Every change the program makes to its own files (the character database and its scratch
// file, the settings, the post log, the map, the screen shots) goes through this one interface, so
// a test can make any single step fail as a full disk or a locked folder would. Each operation
// answers 0 or the errno of its failure; the callers turn that into the error the player sees.
class FileLayer {
  public:
    virtual ~FileLayer() = default;

    // `flags` are open(2)'s; `create_mode` applies to a file the call creates.
    virtual int open(const std::filesystem::path& path, int flags, mode_t create_mode, int& fd) = 0;
    // Reads up to out.size() bytes from offset `at`; `got` stops short at the end of the file.
    virtual int read(int fd, std::span<uint8_t> out, int64_t at, size_t& got) = 0;
    // Writes all of `data` at offset `at` (at the end of the file for a descriptor opened to
    // append); `done` tells how much reached the file before a failure.
    virtual int write(int fd, std::span<const uint8_t> data, int64_t at, size_t& done) = 0;
    virtual int sync(int fd) = 0;
    virtual int truncate(int fd, int64_t length) = 0;
    virtual int chmod(int fd, mode_t mode) = 0;
    virtual int stat(int fd, struct stat& st) = 0;
    virtual int close(int fd) = 0;
    virtual int rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual int remove(const std::filesystem::path& path) = 0;
    // Gives the file `from` the further name `to`, which must be free (EEXIST otherwise). File
    // systems without hard links (FAT, exFAT) answer EPERM.
    virtual int link(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Renames `from` to `to` only while `to` is free (EEXIST otherwise). File systems that
    // cannot promise that answer EINVAL.
    virtual int rename_new(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Makes the names in the folder (a rename, a new file) durable.
    virtual int sync_folder(const std::filesystem::path& folder) = 0;
};

// The operating system's files.
class PosixFiles : public FileLayer {
  public:
    int open(const std::filesystem::path& path, int flags, mode_t create_mode, int& fd) override;
    int read(int fd, std::span<uint8_t> out, int64_t at, size_t& got) override;
    int write(int fd, std::span<const uint8_t> data, int64_t at, size_t& done) override;
    int sync(int fd) override;
    int truncate(int fd, int64_t length) override;
    int chmod(int fd, mode_t mode) override;
    int stat(int fd, struct stat& st) override;
    int close(int fd) override;
    int rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    int remove(const std::filesystem::path& path) override;
    int link(const std::filesystem::path& from, const std::filesystem::path& to) override;
    int rename_new(const std::filesystem::path& from, const std::filesystem::path& to) override;
    int sync_folder(const std::filesystem::path& folder) override;
};

// The one real layer; it holds no state of its own.
FileLayer& posix_files();

}  // namespace zeko
