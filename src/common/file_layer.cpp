#include "common/file_layer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace zeko {

int PosixFiles::open(const std::filesystem::path& path, int flags, mode_t create_mode, int& fd) {
    fd = ::open(path.c_str(), flags | O_CLOEXEC, create_mode);
    return fd < 0 ? errno : 0;
}

int PosixFiles::read(int fd, std::span<uint8_t> out, int64_t at, size_t& got) {
    got = 0;
    while (got < out.size()) {
        const ssize_t r =
            ::pread(fd, out.data() + got, out.size() - got, static_cast<off_t>(at + got));
        if (r < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    return 0;
}

int PosixFiles::write(int fd, std::span<const uint8_t> data, int64_t at, size_t& done) {
    done = 0;
    while (done < data.size()) {
        const ssize_t w = at < 0 ? ::write(fd, data.data() + done, data.size() - done)
                                 : ::pwrite(fd, data.data() + done, data.size() - done,
                                            static_cast<off_t>(at + static_cast<int64_t>(done)));
        if (w < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (w == 0) return ENOSPC;
        done += static_cast<size_t>(w);
    }
    return 0;
}

int PosixFiles::sync(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

int PosixFiles::truncate(int fd, int64_t length) {
    return ::ftruncate(fd, static_cast<off_t>(length)) == 0 ? 0 : errno;
}

int PosixFiles::chmod(int fd, mode_t mode) {
    return ::fchmod(fd, mode) == 0 ? 0 : errno;
}

int PosixFiles::stat(int fd, struct stat& st) {
    return ::fstat(fd, &st) == 0 ? 0 : errno;
}

int PosixFiles::close(int fd) {
    return ::close(fd) == 0 ? 0 : errno;
}

int PosixFiles::rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int PosixFiles::remove(const std::filesystem::path& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int PosixFiles::link(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::link(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int PosixFiles::rename_new(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0 ? 0
                                                                                            : errno;
}

int PosixFiles::sync_folder(const std::filesystem::path& folder) {
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return errno;
    int result = ::fsync(dir) == 0 ? 0 : errno;
    // Some file systems cannot sync a folder at all; their renames are as durable as they get.
    if (result == EINVAL || result == ENOTSUP) result = 0;
    ::close(dir);
    return result;
}

FileLayer& posix_files() {
    static PosixFiles files;
    return files;
}

}  // namespace zeko
