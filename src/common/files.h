#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "common/file_layer.h"

namespace zeko {

// The program's files are named without regard to letter case (an update may install
// "map.dat" where the loader asks for "MAP.DAT"). This finds the entry of the folder whose
// name matches case-insensitively, or gives folder/name when there is none.
std::filesystem::path resolve_in_folder(const std::filesystem::path& folder, std::string_view name);

bool file_exists(const std::filesystem::path& path);
// Length in bytes; raises Err::FileNotFound for a missing file.
int64_t file_length(const std::filesystem::path& path);

// The changes below go through a file layer; the forms without one use the real files.

// Raises Err::FileNotFound for a missing file, Err::PermissionDenied or
// Err::PathFileAccessError when it cannot be removed.
void delete_file(FileLayer& files, const std::filesystem::path& path);
void delete_file(const std::filesystem::path& path);
// Replaces `to` by `from` in one step, so a reader sees either the old or the new file, and
// makes the change durable; a folder that cannot be synced afterwards is an error too.
void rename_file(FileLayer& files, const std::filesystem::path& from,
                 const std::filesystem::path& to);
void rename_file(const std::filesystem::path& from, const std::filesystem::path& to);

// The whole file as bytes. A file that does not exist is created empty and read as empty.
std::string read_or_create(FileLayer& files, const std::filesystem::path& path,
                           mode_t create_mode = 0644);
std::string read_or_create(const std::filesystem::path& path, mode_t create_mode = 0644);

// Adds `bytes` at the end of the file (created when missing), all of them or none: a write
// that fails half-way is cut off again.
void append_whole(FileLayer& files, const std::filesystem::path& path, std::string_view bytes,
                  mode_t create_mode);

// A file of fixed-length records, opened the classic way: created empty when missing,
// read-write when allowed, read-only otherwise. Records count from 1. Errors raise RuntimeError.
class RecordFile {
  public:
    RecordFile(FileLayer& files, const std::filesystem::path& path, int64_t record_length,
               mode_t create_mode = 0644);
    RecordFile(const std::filesystem::path& path, int64_t record_length, mode_t create_mode = 0644);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&&) = delete;

    int64_t length() const;
    // Reads record n; bytes beyond the end of the file read as 0.
    void read_record(int64_t n, std::span<uint8_t> out) const;
    // Writes record n, extending the file when needed. A write that fails (a full disk) puts
    // the file back as it was, length and bytes, before raising.
    void write_record(int64_t n, std::span<const uint8_t> data);
    // Empties the file.
    void truncate();
    // Forces what was written onto the disk.
    void sync();
    // Gives the open file these permission bits.
    void set_mode(mode_t mode);
    void close();

  private:
    FileLayer* files_;
    int fd_ = -1;
    int64_t record_length_;
};

}  // namespace zeko
