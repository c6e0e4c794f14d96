// mapgen [--if-absent] <input.txt> <output>
//
// Turns a plain list of places ("x y code name" per line, UTF-8; blank lines and lines
// starting with '#' skipped) into a scrambled map file as the program reads it.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "common/codepage.h"
#include "common/files.h"
#include "map/city_map.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMark = "/\\/";

struct Refusal {
    std::string message;
};

[[noreturn]] void refuse(const std::string& where, const std::string& what) {
    throw Refusal{where + ": " + what};
}

std::string_view next_field(std::string_view& rest) {
    const size_t end = rest.find(' ');
    std::string_view field = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    return field;
}

int number_field(std::string_view field, const char* what, const std::string& where) {
    int value = 0;
    const char* first = field.data();
    const char* last = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (field.empty() || ec != std::errc{} || ptr != last)
        refuse(where, std::string(what) + " '" + std::string(field) + "' is not a number");
    return value;
}

std::string padded(int value, int width) {
    std::string digits = std::to_string(value);
    return std::string(static_cast<size_t>(width) - digits.size(), '0') + digits;
}

// One input line as a map record, closing mark included.
std::string make_record(std::string_view line, const std::string& where) {
    std::string_view rest = line;
    const int x = number_field(next_field(rest), "x", where);
    const int y = number_field(next_field(rest), "y", where);
    const int code = number_field(next_field(rest), "code", where);
    if (x < 0 || x > 200) refuse(where, "x " + std::to_string(x) + " is outside 0..200");
    if (y < 0 || y > 200) refuse(where, "y " + std::to_string(y) + " is outside 0..200");
    if (code < 0 || code > 300)
        refuse(where, "code " + std::to_string(code) + " is outside 0..300");

    const std::string name = zeko::to_cp1252(rest);
    if (zeko::from_cp1252(name) != rest)
        refuse(where, "the name has characters that Windows-1252 cannot hold");
    // A name ending in "/\" would also end its record early, together with the mark.
    const std::string closed = name + std::string(kMark);
    if (closed.find(kMark) != name.size())
        refuse(where, "the name contains the record mark \"/\\/\"");

    return padded(x, 3) + padded(y, 3) + padded(code, 4) + closed;
}

std::string read_text(const fs::path& input) {
    std::ifstream in(input, std::ios::binary);
    if (!in) throw Refusal{input.string() + ": cannot be read: " + std::strerror(errno)};
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string build_map(const fs::path& input) {
    const std::string text = read_text(input);
    std::string plain;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        plain += make_record(line, input.string() + ":" + std::to_string(number));
    }
    if (plain.size() > static_cast<size_t>(zeko::kMaxMapFileBytes))
        throw Refusal{"the map would take " + std::to_string(plain.size()) +
                      " bytes; the program reads at most " +
                      std::to_string(zeko::kMaxMapFileBytes)};
    zeko::scramble_map(plain);
    return plain;
}

// Writes beside the target and renames, so a reader never sees half a map.
void write_atomically(const fs::path& target, const std::string& bytes) {
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) throw Refusal{temp + ": cannot be created: " + std::strerror(errno)};
    auto fail = [&](const char* step) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        throw Refusal{temp + ": " + step + ": " + std::strerror(saved)};
    };
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail("write failed");
        done += static_cast<size_t>(n);
    }
    if (::fchmod(fd, 0644) != 0) fail("chmod failed");
    if (::fsync(fd) != 0) fail("sync failed");
    if (::close(fd) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        throw Refusal{temp + ": close failed: " + std::strerror(saved)};
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        throw Refusal{target.string() + ": cannot be replaced: " + std::strerror(saved)};
    }
}

int usage() {
    std::cerr << "usage: mapgen [--if-absent] <input.txt> <output>\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool if_absent = false;
    int first = 1;
    if (argc > 1 && std::string_view(argv[1]) == "--if-absent") {
        if_absent = true;
        first = 2;
    }
    if (argc - first != 2) return usage();
    const fs::path input = argv[first];
    const fs::path output = argv[first + 1];
    const fs::path folder = output.parent_path().empty() ? fs::path(".") : output.parent_path();

    try {
        // File names are matched without regard to case, so "map.dat" already is "MAP.DAT":
        // replace that file rather than put a second one beside it.
        const fs::path target = zeko::resolve_in_folder(folder, output.filename().string());
        if (if_absent && zeko::file_exists(target)) return 0;
        write_atomically(target, build_map(input));
    } catch (const Refusal& r) {
        std::cerr << "mapgen: " << r.message << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "mapgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
