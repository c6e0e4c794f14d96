#include "support/failing_files.h"

#include <fcntl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace zeko::testing {

std::string FailingFiles::upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

FailingFiles& FailingFiles::fail(FileOp op, int nth, int error, std::string name, int times,
                                 size_t partial) {
    rules_.push_back(Rule{op, upper(name), nth, times, error, partial});
    return *this;
}

FailingFiles& FailingFiles::read_only() {
    for (FileOp op : {FileOp::OpenToWrite, FileOp::Rename, FileOp::Remove})
        fail(op, 1, EACCES, {}, -1);
    return *this;
}

int FailingFiles::writes(std::string_view name) const {
    const auto it = writes_.find(upper(name));
    return it == writes_.end() ? 0 : it->second;
}

int FailingFiles::failure(FileOp op, const std::string& name, size_t* partial) {
    for (Rule& r : rules_) {
        // A folder sync concerns every file in it.
        const bool named = !r.name.empty() && op != FileOp::SyncFolder;
        if (r.op != op || (named && r.name != name)) continue;
        ++r.seen;
        if (r.seen >= r.nth && (r.times < 0 || r.seen < r.nth + r.times)) {
            if (partial) *partial = r.partial;
            return r.error;
        }
    }
    return 0;
}

int FailingFiles::open(const std::filesystem::path& path, int flags, mode_t create_mode, int& fd) {
    fd = -1;
    const std::string name = leaf(path);
    if (int e = failure(FileOp::Open, name)) return e;
    if ((flags & (O_WRONLY | O_RDWR | O_CREAT)) != 0) {
        if (int e = failure(FileOp::OpenToWrite, name)) return e;
    }
    const int error = PosixFiles::open(path, flags, create_mode, fd);
    if (error == 0) names_[fd] = name;
    return error;
}

int FailingFiles::write(int fd, std::span<const uint8_t> data, int64_t at, size_t& done) {
    const std::string& name = names_[fd];
    ++writes_[name];
    size_t partial = 0;
    if (int e = failure(FileOp::Write, name, &partial)) {
        PosixFiles::write(fd, data.first(std::min(partial, data.size())), at, done);
        return e;
    }
    return PosixFiles::write(fd, data, at, done);
}

}  // namespace zeko::testing
