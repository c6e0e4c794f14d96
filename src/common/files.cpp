#include "common/files.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <utility>
#include <vector>

#include "common/errors.h"

namespace zeko {

namespace fs = std::filesystem;

namespace {

bool same_name_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

void check(int error) {
    if (error != 0) raise_errno(error);
}

bool is_refusal(int error) {
    return error == EACCES || error == EPERM || error == EROFS;
}

int open_or_raise(FileLayer& files, const fs::path& path, mode_t create_mode) {
    // Read-write when allowed, read-only otherwise, so a write-protected file can still be read.
    int fd = -1;
    const int refused = files.open(path, O_RDWR | O_CREAT, create_mode, fd);
    if (refused != 0) {
        if (!is_refusal(refused)) raise_errno(refused);
        const int error = files.open(path, O_RDONLY, 0, fd);
        // A file that is missing and may not be created is a matter of permission, not of
        // a file that is not there.
        if (error != 0) raise_errno(error == ENOENT ? refused : error);
    }
    struct stat st {};
    if (files.stat(fd, st) == 0 && S_ISDIR(st.st_mode)) {
        files.close(fd);
        raise(Err::PathFileAccessError);
    }
    return fd;
}

}  // namespace

fs::path resolve_in_folder(const fs::path& folder, std::string_view name) {
    fs::path exact = folder / name;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(exact, ec))) return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (same_name_ignoring_case(entry, name)) return it->path();
    }
    return exact;
}

bool file_exists(const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

int64_t file_length(const fs::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) raise_errno(errno);
    return static_cast<int64_t>(st.st_size);
}

void delete_file(FileLayer& files, const fs::path& path) {
    // A folder refuses with EISDIR: a path/file access error.
    check(files.remove(path));
}

void delete_file(const fs::path& path) {
    delete_file(posix_files(), path);
}

void rename_file(FileLayer& files, const fs::path& from, const fs::path& to) {
    check(files.rename(from, to));
    check(files.sync_folder(to.parent_path()));
}

void rename_file(const fs::path& from, const fs::path& to) {
    rename_file(posix_files(), from, to);
}

std::string read_or_create(FileLayer& files, const fs::path& path, mode_t create_mode) {
    const int fd = open_or_raise(files, path, create_mode);
    std::string data;
    std::vector<uint8_t> buf(16384);
    for (;;) {
        size_t got = 0;
        const int error = files.read(fd, buf, static_cast<int64_t>(data.size()), got);
        if (error != 0) {
            files.close(fd);
            raise_errno(error);
        }
        data.append(reinterpret_cast<const char*>(buf.data()), got);
        if (got < buf.size()) break;
    }
    files.close(fd);
    return data;
}

std::string read_or_create(const fs::path& path, mode_t create_mode) {
    return read_or_create(posix_files(), path, create_mode);
}

void append_whole(FileLayer& files, const fs::path& path, std::string_view bytes,
                  mode_t create_mode) {
    int fd = -1;
    check(files.open(path, O_WRONLY | O_APPEND | O_CREAT, create_mode, fd));
    struct stat st {};
    int error = files.stat(fd, st);
    if (error == 0) {
        size_t done = 0;
        error = files.write(
            fd, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), -1, done);
        if (error != 0 && done > 0) files.truncate(fd, static_cast<int64_t>(st.st_size));
    }
    files.close(fd);
    check(error);
}

RecordFile::RecordFile(FileLayer& files, const fs::path& path, int64_t record_length,
                       mode_t create_mode)
    : files_(&files), record_length_(record_length) {
    fd_ = open_or_raise(files, path, create_mode);
}

RecordFile::RecordFile(const fs::path& path, int64_t record_length, mode_t create_mode)
    : RecordFile(posix_files(), path, record_length, create_mode) {}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : files_(other.files_),
      fd_(std::exchange(other.fd_, -1)),
      record_length_(other.record_length_) {}

RecordFile::~RecordFile() {
    close();
}

void RecordFile::close() {
    if (fd_ >= 0) {
        files_->close(fd_);
        fd_ = -1;
    }
}

int64_t RecordFile::length() const {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    struct stat st {};
    check(files_->stat(fd_, st));
    return static_cast<int64_t>(st.st_size);
}

void RecordFile::read_record(int64_t n, std::span<uint8_t> out) const {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    if (n < 1) raise(Err::BadRecordNumber);
    size_t got = 0;
    check(files_->read(fd_, out, (n - 1) * record_length_, got));
    // Past the end the rest reads as 0.
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(got), out.end(), uint8_t{0});
}

void RecordFile::write_record(int64_t n, std::span<const uint8_t> data) {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    if (n < 1) raise(Err::BadRecordNumber);
    const int64_t at = (n - 1) * record_length_;
    // What the write may overwrite, so that a failure can put it back.
    const int64_t old_length = length();
    std::vector<uint8_t> old_bytes(static_cast<size_t>(
        std::clamp<int64_t>(old_length - at, 0, static_cast<int64_t>(data.size()))));
    size_t got = 0;
    check(files_->read(fd_, old_bytes, at, got));

    size_t done = 0;
    const int error = files_->write(fd_, data, at, done);
    if (error == 0) return;
    if (done > 0) {
        files_->truncate(fd_, old_length);
        size_t restored = 0;
        files_->write(fd_, std::span(old_bytes).first(got), at, restored);
    }
    // A descriptor opened read-only refuses writes with EBADF.
    raise(error == EBADF ? Err::PathFileAccessError : error_from_errno(error));
}

void RecordFile::truncate() {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    const int error = files_->truncate(fd_, 0);
    check(error == EINVAL ? EACCES : error);
}

void RecordFile::sync() {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    check(files_->sync(fd_));
}

void RecordFile::set_mode(mode_t mode) {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    check(files_->chmod(fd_, mode));
}

}  // namespace zeko
