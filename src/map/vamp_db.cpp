#include "map/vamp_db.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <system_error>
#include <utility>
#include <vector>

#include "common/codepage.h"
#include "common/errors.h"
#include "common/files.h"
#include "common/prompts.h"

namespace zeko {

namespace {

constexpr std::string_view kFileName = "VAMP.dat";
constexpr std::string_view kScratchName = "VAMP.da_";

using RecordBytes = std::array<uint8_t, kVampRecordBytes>;

// Where each field stands in a record.
constexpr size_t kHandleAt = 0;
constexpr size_t kReservedAt = 49;
constexpr size_t kHandleLenAt = 50;
constexpr size_t kNameAt = 51;
constexpr size_t kNameLenAt = 101;
constexpr size_t kPasswordAt = 102;
constexpr size_t kPasswordLenAt = 152;
constexpr size_t kPosXAt = 153;
constexpr size_t kPosYAt = 155;
constexpr size_t kDestXAt = 157;
constexpr size_t kDestYAt = 159;
constexpr size_t kAutologinAt = 161;
constexpr size_t kDeletedAt = 163;
static_assert(kDeletedAt + 2 == kVampRecordBytes);

template <size_t N>
void put_text(RecordBytes& out, size_t at, const std::array<char, N>& field) {
    std::memcpy(out.data() + at, field.data(), N);
}

template <size_t N>
void get_text(std::span<const uint8_t, kVampRecordBytes> in, size_t at,
              std::array<char, N>& field) {
    std::memcpy(field.data(), in.data() + at, N);
}

void put16(RecordBytes& out, size_t at, int16_t value) {
    const auto u = static_cast<uint16_t>(value);
    out[at] = static_cast<uint8_t>(u & 0xFF);
    out[at + 1] = static_cast<uint8_t>(u >> 8);
}

int16_t get16(std::span<const uint8_t, kVampRecordBytes> in, size_t at) {
    return static_cast<int16_t>(static_cast<uint16_t>(in[at] | (in[at + 1] << 8)));
}

template <size_t N>
void assign_text(std::array<char, N>& field, uint8_t& length, std::string_view utf8) {
    const std::string fixed = to_fixed_field(utf8, N);
    field.fill(' ');
    std::copy_n(fixed.begin(), std::min(fixed.size(), N), field.begin());
    length = length_byte(utf8);
}

template <size_t N>
std::string read_text(const std::array<char, N>& field, uint8_t length) {
    return read_fixed_field(std::string_view(field.data(), N), length);
}

// A scratch file left by an interrupted compaction may hold records of an older state and
// looser permissions: it goes, and a fresh one is made. Deleting it (rather than truncating
// through the name) never follows a link elsewhere, and refuses a directory.
void remove_stale_scratch(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) delete_file(path);
}

// Older versions deleted the database before copying the scratch file over it, and one that
// stopped in between left the characters only in the scratch file: take them back rather
// than start an empty database (and later throw the scratch file away).
void adopt_orphaned_scratch(const std::filesystem::path& database,
                            const std::filesystem::path& scratch) {
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(database, ec)) &&
        std::filesystem::is_regular_file(std::filesystem::symlink_status(scratch, ec)))
        rename_file(scratch, database);
}

}  // namespace

std::string VAMP::handle() const {
    return read_text(HANDLE, HANDLE_LEN);
}
std::string VAMP::name() const {
    return read_text(NAME, NAME_LEN);
}
std::string VAMP::password() const {
    return read_text(PASSWORD, PASSWORD_LEN);
}
std::string VAMP::handle_field() const {
    return from_cp1252(std::string_view(HANDLE.data(), HANDLE.size()));
}

void VAMP::set_handle(std::string_view utf8) {
    assign_text(HANDLE, HANDLE_LEN, utf8);
}
void VAMP::set_name(std::string_view utf8) {
    assign_text(NAME, NAME_LEN, utf8);
}
void VAMP::set_password(std::string_view utf8) {
    assign_text(PASSWORD, PASSWORD_LEN, utf8);
}

std::array<uint8_t, kVampRecordBytes> encode_vamp(const VAMP& v) {
    RecordBytes out{};
    put_text(out, kHandleAt, v.HANDLE);
    out[kReservedAt] = v.RESERVED;
    out[kHandleLenAt] = v.HANDLE_LEN;
    put_text(out, kNameAt, v.NAME);
    out[kNameLenAt] = v.NAME_LEN;
    put_text(out, kPasswordAt, v.PASSWORD);
    out[kPasswordLenAt] = v.PASSWORD_LEN;
    put16(out, kPosXAt, v.POS_X);
    put16(out, kPosYAt, v.POS_Y);
    put16(out, kDestXAt, v.DEST_X);
    put16(out, kDestYAt, v.DEST_Y);
    put16(out, kAutologinAt, v.AUTOLOGIN);
    put16(out, kDeletedAt, v.DELETED);
    return out;
}

VAMP decode_vamp(std::span<const uint8_t, kVampRecordBytes> bytes) {
    VAMP v;
    get_text(bytes, kHandleAt, v.HANDLE);
    v.RESERVED = bytes[kReservedAt];
    v.HANDLE_LEN = bytes[kHandleLenAt];
    get_text(bytes, kNameAt, v.NAME);
    v.NAME_LEN = bytes[kNameLenAt];
    get_text(bytes, kPasswordAt, v.PASSWORD);
    v.PASSWORD_LEN = bytes[kPasswordLenAt];
    v.POS_X = get16(bytes, kPosXAt);
    v.POS_Y = get16(bytes, kPosYAt);
    v.DEST_X = get16(bytes, kDestXAt);
    v.DEST_Y = get16(bytes, kDestYAt);
    v.AUTOLOGIN = get16(bytes, kAutologinAt);
    v.DELETED = get16(bytes, kDeletedAt);
    return v;
}

VampDb::VampDb(std::filesystem::path folder, Services& services)
    : folder_(std::move(folder)), services_(services) {}

std::filesystem::path VampDb::file_path() const {
    return resolve_in_folder(folder_, kFileName);
}

std::filesystem::path VampDb::scratch_path() const {
    return resolve_in_folder(folder_, kScratchName);
}

RecordFile VampDb::open_database() {
    adopt_orphaned_scratch(file_path(), scratch_path());
    return RecordFile(file_path(), kVampRecordBytes, kVampFileMode);
}

void VampDb::report(const RuntimeError& error, std::string_view procedure) {
    if (services_.prompts) show_procedure_error(*services_.prompts, error, procedure);
}

void VampDb::tell(std::string_view text, std::string_view title) {
    if (services_.prompts)
        services_.prompts->message_box(text, MsgButtons::OK, MsgIcon::Information, title);
}

void VampDb::LOAD_DB() {
    load();
}

bool VampDb::load() {
    try {
        for (;;) {
            int16_t count = 0;
            {
                RecordFile file = open_database();
                count = record_count(file.length(), kVampRecordBytes);
                if (count > 0) {
                    // Read everything before touching memory: a load that fails half-way
                    // must not leave blank records that the next SAVE_DB would write out.
                    // The records follow one another without gaps, so one read from record
                    // 1 takes them all (a partial last record comes back padded with 0).
                    std::vector<uint8_t> bytes(static_cast<size_t>(count) * kVampRecordBytes);
                    file.read_record(1, bytes);
                    file.close();
                    VbArray<VAMP> records(1, count);
                    for (int i = 1; i <= count; ++i) {
                        const size_t at = static_cast<size_t>(i - 1) * kVampRecordBytes;
                        records(i) = decode_vamp(std::span<const uint8_t, kVampRecordBytes>(
                            bytes.data() + at, kVampRecordBytes));
                    }
                    VAMPS = std::move(records);
                    VAMP_COUNT = count;
                    if (services_.vamp_list) {
                        services_.vamp_list->clear();
                        for (int i = 1; i <= count; ++i)
                            services_.vamp_list->add_item(VAMPS(i).handle_field(), i);
                    }
                    return true;
                }
            }
            // The file is closed here: the dialog creates the first character through
            // CREATE_DB, which rewrites it.
            VAMP_COUNT = count;
            if (CREATE_OFFERED) return true;
            CREATE_OFFERED = true;
            if (services_.new_vamp_dialog) services_.new_vamp_dialog->show_modal();
        }
    } catch (...) {
        report(as_runtime_error(std::current_exception()), "LOAD_DB");
        return false;
    }
}

void VampDb::SAVE_DB() {
    try {
        RecordFile file = open_database();
        for (int i = 1; i <= VAMP_COUNT; ++i)
            file.write_record(i, encode_vamp(VAMPS(i)));
        file.close();
    } catch (...) {
        report(as_runtime_error(std::current_exception()), "SAVE_DB");
    }
}

void VampDb::CLEAN_DB() {
    if (compact()) load();
}

bool VampDb::compact() {
    std::filesystem::path scratch;
    bool scratch_made = false;
    try {
        RecordFile source = open_database();
        const std::filesystem::path target = file_path();
        scratch = scratch_path();
        remove_stale_scratch(scratch);
        RecordFile kept(scratch, kVampRecordBytes, kVampFileMode);
        scratch_made = true;
        kept.truncate();

        const int16_t n = record_count(source.length(), kVampRecordBytes);
        RecordBytes buffer{};
        int64_t j = 0;
        for (int i = 1; i <= n; ++i) {
            source.read_record(i, buffer);
            if (get16(buffer, kDeletedAt) == 0) kept.write_record(++j, buffer);
        }
        // The characters must be on the disk before the scratch file takes the database's
        // place; the rename then swaps them in one step, so a crash leaves either file whole.
        kept.sync();
        kept.close();
        source.close();
        rename_file(scratch, target);
        return true;
    } catch (...) {
        const RuntimeError error = as_runtime_error(std::current_exception());
        // The database is untouched; a half-written copy of the passwords is not left behind.
        if (scratch_made) {
            std::error_code ignored;
            std::filesystem::remove(scratch, ignored);
        }
        report(error, "CLEAN_DB");
        return false;
    }
}

VbBool VampDb::CHECK_NEW_VAMP(VAMP record) {
    CLEAN_DB();
    for (int i = 1; i <= VAMP_COUNT; ++i) {
        const VAMP& stored = VAMPS(i);
        if (record.HANDLE == stored.HANDLE) {
            tell("The handle you have selected is already in use, please try another.",
                 "Sorry mr. Smith...");
            return kFalse;
        }
        if (record.AUTOLOGIN == kTrue && record.NAME == stored.NAME) {
            tell(
                "The vampire you are entering is already listed in the database. Their handle "
                "is " +
                    stored.handle_field() + ". To alter this record, please select Edit Vampire.",
                "They cloned me! Wait, am I me, or is he me?");
            return kFalse;
        }
    }
    return kTrue;
}

int16_t VampDb::CREATE_DB(VAMP record) {
    try {
        if (CHECK_NEW_VAMP(record) != kTrue) return 0;
        // The count in memory changes only with the reload, so a failed write leaves it
        // matching `VAMPS`.
        const int16_t index = add16(VAMP_COUNT, 1);
        {
            RecordFile file = open_database();
            file.write_record(index, encode_vamp(record));
            file.close();
        }
        // Without the reload the index would name no record in memory.
        if (!load()) return 0;
        return VAMP_COUNT;
    } catch (...) {
        report(as_runtime_error(std::current_exception()), "CREATE_DB");
        return 0;
    }
}

}  // namespace zeko
