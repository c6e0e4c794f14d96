#include "common/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

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

int open_or_raise(const fs::path& path, mode_t create_mode) {
    // Read-write when allowed, read-only otherwise, so a write-protected file can still be read.
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, create_mode);
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) raise_errno(errno);
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
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

void delete_file(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) raise_errno(errno);
    if (S_ISDIR(st.st_mode)) raise(Err::PathFileAccessError);
    if (::unlink(path.c_str()) != 0) raise_errno(errno);
}

void rename_file(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) raise_errno(errno);
    // Make the rename itself durable: sync the folder that holds both names.
    int dir = ::open(to.parent_path().empty() ? "." : to.parent_path().c_str(),
                     O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

std::string read_or_create(const fs::path& path, mode_t create_mode) {
    int fd = open_or_raise(path, create_mode);
    std::string data;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) data.reserve(static_cast<size_t>(st.st_size));
    char buf[16384];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int e = errno;
            ::close(fd);
            raise_errno(e);
        }
        if (n == 0) break;
        data.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return data;
}

RecordFile::RecordFile(const fs::path& path, int64_t record_length, mode_t create_mode)
    : record_length_(record_length) {
    fd_ = open_or_raise(path, create_mode);
}

RecordFile::~RecordFile() {
    close();
}

void RecordFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

int64_t RecordFile::length() const {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) raise_errno(errno);
    return static_cast<int64_t>(st.st_size);
}

void RecordFile::read_record(int64_t n, std::span<uint8_t> out) const {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    if (n < 1) raise(Err::BadRecordNumber);
    std::memset(out.data(), 0, out.size());
    off_t offset = static_cast<off_t>((n - 1) * record_length_);
    size_t done = 0;
    while (done < out.size()) {
        ssize_t r =
            ::pread(fd_, out.data() + done, out.size() - done, offset + static_cast<off_t>(done));
        if (r < 0) {
            if (errno == EINTR) continue;
            raise_errno(errno);
        }
        if (r == 0) break;  // past the end: the rest stays 0
        done += static_cast<size_t>(r);
    }
}

void RecordFile::write_record(int64_t n, std::span<const uint8_t> data) {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    if (n < 1) raise(Err::BadRecordNumber);
    off_t offset = static_cast<off_t>((n - 1) * record_length_);
    size_t done = 0;
    while (done < data.size()) {
        ssize_t w = ::pwrite(fd_, data.data() + done, data.size() - done,
                             offset + static_cast<off_t>(done));
        if (w < 0) {
            if (errno == EINTR) continue;
            // A descriptor opened read-only refuses writes with EBADF.
            raise(errno == EBADF ? Err::PathFileAccessError : error_from_errno(errno));
        }
        done += static_cast<size_t>(w);
    }
}

void RecordFile::truncate() {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    if (::ftruncate(fd_, 0) != 0) raise_errno(errno == EINVAL ? EACCES : errno);
}

void RecordFile::sync() {
    if (fd_ < 0) raise(Err::BadFileNameOrNumber);
    if (::fsync(fd_) != 0) raise_errno(errno);
}

}  // namespace zeko
